#pragma once

#include <QString>

namespace nobrisa {

// Parses a whole number the way every reader of a number box does: optional blanks around,
// an optional sign, decimal digits. Returns false for anything else (also for an overflow).
bool parseWholeNumber(const QString& text, int* value) noexcept;

// A whole number as its text, which is what a number box stores and what files carry. The text
// may hold anything; every reader converts it with its own fallback.
class NumberText final {
public:
    NumberText(int min, int max, int initial)
        : mMin(min), mMax(max), mText(QString::number(initial)) {}

    const QString& text() const noexcept { return mText; }
    void setText(const QString& text) { mText = text; }

    // Sets the number through the box's value: clamped into the box's range.
    void setValue(int value);

    // The text as a whole number, or the fallback when it is none.
    int toInt(int fallback) const noexcept;

    // The box's value: the text as a number (fallback when none) clamped into the range.
    int value(int fallback) const noexcept;

    // What the box does when the user leaves it: a whole number outside the range becomes the
    // nearest bound; a text that is no whole number stays as typed.
    void clampOnLeave();

    int minimum() const noexcept { return mMin; }
    int maximum() const noexcept { return mMax; }

    bool operator==(const NumberText& other) const { return text() == other.text(); }

private:
    int mMin;
    int mMax;
    QString mText;
};

} // namespace nobrisa
