#pragma once
// What the month grid reads of the notes: for a range of days, the days that
// have a note and the first characters of each. The notes store implements
// it; the grid only sees this interface, so the calendar engine carries no
// database.

#include <QString>

#include <vector>

namespace tavo {

struct NoteHead {
    QString date;  // "YYYY-MM-DD"
    QString head;  // the first characters of the note
};

class NoteHeadReader {
public:
    virtual ~NoteHeadReader() = default;
    // The days from..to (inclusive, "YYYY-MM-DD") that have a note, each with
    // the first `maxChars` characters of it, in date order.
    virtual std::vector<NoteHead> NoteHeads(const QString& from, const QString& to, int maxChars,
                                            bool* ok = nullptr) = 0;
};

}  // namespace tavo
