#pragma once

#include "analysis/study_report.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <string>
#include <vector>

namespace ai::ui {

// The study's report as a PDF file's bytes: A4, French, fonts sized for print: the report's
// sections and the table of values, then the map and the map of its standard deviations,
// each at most 42 % of a page high, on the page that has room for it.
QByteArray studyReportPdf(const StudyReport& report, const NumberFormat& format, const QImage& map,
                          const QImage& sdMap, const QString& date);

// The two photographs as the report names them, their sizes read from their headers only.
std::vector<ReportPhotograph> reportPhotographs(const std::string& free, const std::string& loaded);

// "7 décembre 2026 à 19:05", the report's date as the user reads it.
QString reportDate();

} // namespace ai::ui
