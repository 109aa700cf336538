// One line on standard error that tells how far a long job without a window has come
// ("writing 973,080 systems… 40%"), rewritten in place. It shows only when standard error is a
// terminal, so pipes, logs and tests see nothing of it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

struct PROGRESS_LINE_T
{
    std::FILE *out = nullptr; // null: not a terminal, show nothing
    std::string text;         // what the line shows now
    int percent = -1;
};

// A line on stderr when it is a terminal, else one that shows nothing.
PROGRESS_LINE_T MakeProgressLine(void);

// "973,080": a count as a person reads it.
std::string GroupedCount(uint64_t count);

// The line becomes what alone ("making the galaxy…"), for a step that cannot count.
void ShowProgressStep(PROGRESS_LINE_T *line, const std::string &what);
// The line becomes "what… P%", written again only when P changes.
void ShowProgress(PROGRESS_LINE_T *line, const std::string &what, uint64_t done, uint64_t total);
// Blanks the line and leaves the cursor at its start, for a step that is over.
void ClearProgressLine(PROGRESS_LINE_T *line);
// Ends the line with a line feed, so what is printed next starts on a line of its own.
void EndProgressLine(PROGRESS_LINE_T *line);
