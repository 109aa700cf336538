// The progress line: a carriage return, the new text, and spaces over what is left of a longer
// old one.
#include "app/progress_line.h"

#include <unistd.h>

namespace
{
void Rewrite(PROGRESS_LINE_T *line, const std::string &text)
{
    if (!line->out || text == line->text) return;
    std::string shown = "\r" + text;
    if (line->text.size() > text.size()) shown += std::string(line->text.size() - text.size(), ' ');
    std::fputs(shown.c_str(), line->out);
    std::fflush(line->out);
    line->text = text;
}
} // namespace

PROGRESS_LINE_T MakeProgressLine(void)
{
    PROGRESS_LINE_T line;
    if (isatty(STDERR_FILENO)) line.out = stderr;
    return line;
}

std::string GroupedCount(uint64_t count)
{
    std::string digits = std::to_string(count);
    for (int at = (int)digits.size() - 3; at > 0; at -= 3) digits.insert((size_t)at, ",");
    return digits;
}

void ShowProgressStep(PROGRESS_LINE_T *line, const std::string &what)
{
    line->percent = -1;
    Rewrite(line, what + "\u2026");
}

void ShowProgress(PROGRESS_LINE_T *line, const std::string &what, uint64_t done, uint64_t total)
{
    // Floor, so 100% means finished.
    const int percent = total == 0 ? 100 : (int)(done * 100 / total);
    if (percent == line->percent) return;
    line->percent = percent;
    Rewrite(line, what + "\u2026 " + std::to_string(percent) + "%");
}

void ClearProgressLine(PROGRESS_LINE_T *line)
{
    Rewrite(line, "");
    if (line->out) std::fputs("\r", line->out);
    line->percent = -1;
}

void EndProgressLine(PROGRESS_LINE_T *line)
{
    if (line->out && !line->text.empty()) std::fputs("\n", line->out);
    line->text.clear();
    line->percent = -1;
}
