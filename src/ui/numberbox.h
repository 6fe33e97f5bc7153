#pragma once

#include <QAbstractSpinBox>

namespace nobrisa {

// A number box as the program's spin boxes behave. It holds any text, because that is what the
// settings files carry and what every reader converts with its own fallback. Typing accepts
// digits, "+", "-" and the decimal separator; other printable keys are refused with a beep. The
// arrow keys and the spin buttons add or subtract the step to the text's number (0 when the text
// is none), never leaving the range. When the focus leaves, a whole number outside the range
// becomes the nearer bound; a text that is no whole number stays as typed. A box whose bounds
// are both 0 holds any number, as an unbounded spin edit does.
class NumberBox final : public QAbstractSpinBox {
    Q_OBJECT
public:
    NumberBox(int minimum, int maximum, int step, int maxLength, QWidget* parent = nullptr);

    QString value() const; // the text, as stored
    void setText(const QString& text);
    // Sets the number through the box's value: clamped into the range.
    void setNumber(int value);
    // The text as a whole number, or the fallback.
    int toInt(int fallback) const;

    int minimum() const { return mMin; }
    int maximum() const { return mMax; }
    // New bounds; a whole number shown outside them becomes the nearer bound.
    void setRange(int minimum, int maximum);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void textChanged(const QString& text);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool isNumberCharacter(QChar c) const;
    bool bounded() const { return mMin != 0 || mMax != 0; }
    long long clamped(long long value) const;

    int mMin;
    int mMax;
    int mStep;
    int mMaxLength; // what the user may type; 0 for no limit
};

} // namespace nobrisa
