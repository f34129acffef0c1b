// Placeholder until the correlation itself lands: finds nothing.
#include "correlation/node_correlation.h"

namespace ai {

NodeMatch correlateNode(const GreyImage&, const GreyImage&, Position, Position,
                        const CorrelationSettings&)
{
    return {};
}

std::optional<std::vector<NodeMatch>> correlateNodes(const GreyImage&, const GreyImage&,
                                                     const CorrelationTask& task,
                                                     const CorrelationSettings&,
                                                     const CorrelationProgress&)
{
    return std::vector<NodeMatch>(task.free.size());
}

} // namespace ai
