#pragma once

// Fakes of the platform ports, shared by the core's tests.
#include "analysis/map_window.h"
#include "correlation/photograph_source.h"
#include "io/file_store.h"
#include "render/image_view.h"
#include "shell/main_controller.h"
#include "shell/ports.h"

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ai::test {

struct FakeWindow : MainWindowPort {
    std::string status;
    std::vector<std::string> statuses; // every text shown, in order
    std::map<Panel, bool> panels;
    std::map<Bar, int> bars;
    void showStatus(const std::string& text) override
    {
        status = text;
        statuses.push_back(text);
    }
    void setPanelVisible(Panel panel, bool visible) override { panels[panel] = visible; }
    void setBarValue(Bar bar, int value) override { bars[bar] = value; }
    struct Selector {
        int count = 0, step = 0;
        std::string caption;
    } selector;
    void showStepSelector(int count, int step, const std::string& caption) override
    {
        selector = {count, step, caption};
    }
};

// Records what the core draws on a view, as a list of primitives since the last restore.
struct RecordingView : ImageView {
    struct Point {
        float x, y;
        Rgb colour;
        friend bool operator==(const Point&, const Point&) = default;
    };
    struct Line {
        float x1, y1, x2, y2;
        Rgb colour;
        friend bool operator==(const Line&, const Line&) = default;
    };

    std::string picture;                  // file of the base image, "" when empty
    std::vector<std::string> readable;    // files that import and restore can read; empty: all
    std::vector<Point> points;
    std::vector<Line> lines;
    int restores = 0;
    // When set, every drawing call appends `id`, to check how two views interleave.
    std::string* journal = nullptr;
    char id = ' ';

    bool canRead(const std::string& path) const
    {
        if (path.empty())
            return false;
        if (readable.empty())
            return true;
        for (const auto& f : readable)
            if (f == path)
                return true;
        return false;
    }
    std::string importPicture(const std::string& path) override
    {
        if (!canRead(path))
            return "illisible : " + path;
        picture = path;
        points.clear();
        lines.clear();
        return {};
    }
    void restorePicture(const std::string& path) override
    {
        ++restores;
        picture = canRead(path) ? path : "";
        points.clear();
        lines.clear();
    }
    bool showsPicture(const std::string& path) override
    {
        return picture == (canRead(path) ? path : "");
    }
    void drawPoint(float x, float y, Rgb colour) override
    {
        points.push_back({x, y, colour});
        if (journal)
            *journal += id;
    }
    void drawLine(float x1, float y1, float x2, float y2, Rgb colour) override
    {
        lines.push_back({x1, y1, x2, y2, colour});
        if (journal)
            *journal += id;
    }
};

struct FakeMap : MapWindow {
    bool shown = false;
    int showCount = 0;
    int hideCount = 0;
    std::string background;
    std::vector<RecordingView::Point> points;
    std::string title, maximum, minimum;
    void show() override
    {
        shown = true;
        ++showCount;
    }
    void setBackground(const std::string& path) override
    {
        background = path;
        points.clear();
    }
    void drawPoint(float x, float y, Rgb colour) override { points.push_back({x, y, colour}); }
    void setTitle(const std::string& text) override { title = text; }
    void setMaximumText(const std::string& text) override { maximum = text; }
    void setMinimumText(const std::string& text) override { minimum = text; }
    void hide() override
    {
        shown = false;
        ++hideCount;
    }
};

struct FakeMessages : MessagePort {
    std::vector<std::string> shown;
    void message(const std::string& text) override { shown.push_back(text); }
};

// Answers the dialogs from a queue: a path, or nothing for a cancel.
struct FakeDialogs : FileDialogPort {
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> titles;
    std::optional<std::string> next(const std::string& title)
    {
        titles.push_back(title);
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> openFileName(const std::string& title) override
    {
        return next(title);
    }
    std::optional<std::string> saveFileName(const std::string& title) override
    {
        return next(title);
    }
    // A multiple selection answers with the next path's files, split at each '|'.
    std::optional<std::vector<std::string>> openFileNames(const std::string& title) override
    {
        const auto answer = next(title);
        if (!answer)
            return std::nullopt;
        std::vector<std::string> files;
        for (std::size_t at = 0; at <= answer->size();) {
            const std::size_t bar = std::min(answer->find('|', at), answer->size());
            files.push_back(answer->substr(at, bar - at));
            at = bar + 1;
        }
        return files;
    }
};

struct MemoryFiles : FileStore {
    std::map<std::string, std::string> files;
    std::string failure; // when not empty, every write fails with this reason
    std::optional<std::string> read(const std::string& path, std::size_t limit) override
    {
        const auto it = files.find(path);
        if (it == files.end() || it->second.size() > limit)
            return std::nullopt;
        return it->second;
    }
    std::string writeAtomically(const std::string& path, const std::string& bytes) override
    {
        if (!failure.empty())
            return failure;
        files[path] = bytes;
        return {};
    }
};

// Grey pictures given by name; any other name cannot be read, for the reason in `failures`.
struct FakePhotographs : PhotographSource {
    std::map<std::string, std::shared_ptr<const GreyImage>> pictures;
    std::map<std::string, std::string> failures;
    std::vector<std::string> asked;
    std::shared_ptr<const GreyImage> greyLevels(const std::string& path) override
    {
        asked.push_back(path);
        const auto it = pictures.find(path);
        return it == pictures.end() ? nullptr : it->second;
    }
    std::string failure(const std::string& path) override
    {
        const auto it = failures.find(path);
        return it == failures.end() ? std::string() : it->second;
    }
};

// Answers the number dialog from a queue: a number, or nothing for a cancel.
struct FakeNumbers : NumberDialogPort {
    std::deque<std::optional<int>> answers;
    struct Question {
        std::string title, label;
        int initial, minimum, maximum;
    };
    std::vector<Question> asked;
    std::optional<int> wholeNumber(const std::string& title, const std::string& label,
                                   int initial, int minimum, int maximum) override
    {
        asked.push_back({title, label, initial, minimum, maximum});
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// Records the progress reported; cancels once `cancelAt` nodes are done, if set.
struct FakeProgress : ProgressPort {
    std::vector<std::string> labels;
    int total = -1;
    std::vector<int> advances;
    int finishes = 0;
    std::optional<int> cancelAt;
    void start(const std::string& label, int count) override
    {
        labels.push_back(label);
        total = count;
    }
    bool advance(int done) override
    {
        advances.push_back(done);
        return !cancelAt || done < *cancelAt;
    }
    void finish() override { ++finishes; }
    void setLabel(const std::string& label) override { labels.push_back(label); }
};

// Keeps the curves shown, the last one last.
struct FakeCurves : CurvesWindowPort {
    std::vector<HistoryCurve> shown;
    void showCurve(const HistoryCurve& curve) override { shown.push_back(curve); }
};

// A controller over fakes, with a French decimal comma.
struct Harness {
    FakeWindow window;
    RecordingView picture1;
    RecordingView picture2;
    FakeMap map;
    FakeMessages messages;
    FakeDialogs dialogs;
    MemoryFiles files;
    FakePhotographs photographs;
    FakeProgress progress;
    FakeNumbers numbers;
    FakeCurves curves;
    MainController controller{
        Platform{window, picture1, picture2, map, messages, dialogs, files, photographs, progress,
                 numbers, curves},
        Settings{NumberFormat{','}, Rgb{0, 120, 215}}};

    const ProjectState& state() const { return controller.state(); }
};

} // namespace ai::test
