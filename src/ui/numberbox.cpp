#include "ui/numberbox.h"

#include "model/numbertext.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include <algorithm>
#include <limits>

namespace nobrisa {

NumberBox::NumberBox(int minimum, int maximum, int step, int maxLength, QWidget* parent)
    : QAbstractSpinBox(parent)
    , mMin(minimum)
    , mMax(maximum)
    , mStep(step)
    , mMaxLength(maxLength)
{
    // Numbers only: the Japanese input method would only produce text the box refuses.
    setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    connect(lineEdit(), &QLineEdit::textChanged, this, &NumberBox::textChanged);
    setText(QString::number(std::clamp(0, mMin, mMax)));
}

QString NumberBox::value() const
{
    return lineEdit()->text();
}

void NumberBox::setText(const QString& text)
{
    // The length limit is the user's: a longer text from a file, or a negative bound such as
    // "-10000" in a five-character box, is shown whole rather than cut.
    if (mMaxLength > 0) {
        const int limit = std::max(mMaxLength, static_cast<int>(text.size()));
        if (lineEdit()->maxLength() != limit)
            lineEdit()->setMaxLength(limit);
    }
    lineEdit()->setText(text);
}

void NumberBox::setNumber(int value)
{
    setText(QString::number(clamped(value)));
}

long long NumberBox::clamped(long long value) const
{
    if (!bounded())
        return std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                     std::numeric_limits<int>::max());
    return std::clamp<long long>(value, mMin, mMax);
}

void NumberBox::setRange(int minimum, int maximum)
{
    mMin = minimum;
    mMax = std::max(minimum, maximum);
    int v = 0;
    if (bounded() && parseWholeNumber(value(), &v) && (v < mMin || v > mMax))
        setNumber(v);
    updateGeometry();
}

int NumberBox::toInt(int fallback) const
{
    int v = 0;
    return parseWholeNumber(value(), &v) ? v : fallback;
}

bool NumberBox::isNumberCharacter(QChar c) const
{
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' ||
           locale().decimalPoint().contains(c);
}

QValidator::State NumberBox::validate(QString& input, int& pos) const
{
    Q_UNUSED(pos);
    // Never Intermediate: the spin box would then "fix up" or revert a text such as "-" or
    // "1.5", which the user is allowed to leave standing.
    const bool allNumberCharacters =
        std::all_of(input.cbegin(), input.cend(), [this](QChar c) { return isNumberCharacter(c); });
    return allNumberCharacters ? QValidator::Acceptable : QValidator::Invalid;
}

void NumberBox::fixup(QString& input) const
{
    // A text that is no number stays as typed; every reader applies its own fallback.
    Q_UNUSED(input);
}

void NumberBox::stepBy(int steps)
{
    int current = 0;
    if (!parseWholeNumber(value(), &current))
        current = 0;
    const long long next = static_cast<long long>(current) + static_cast<long long>(mStep) * steps;
    setText(QString::number(clamped(next)));
    selectAll();
}

QAbstractSpinBox::StepEnabled NumberBox::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    int current = 0;
    if (!parseWholeNumber(value(), &current))
        current = 0;
    if (!bounded())
        return StepUpEnabled | StepDownEnabled;
    StepEnabled enabled = StepNone;
    if (current < mMax)
        enabled |= StepUpEnabled;
    if (current > mMin)
        enabled |= StepDownEnabled;
    return enabled;
}

void NumberBox::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    const bool shortcut =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!shortcut && !isReadOnly() && !typed.isEmpty() && typed.front().isPrint()) {
        const bool allowed = std::all_of(typed.cbegin(), typed.cend(),
                                         [this](QChar c) { return isNumberCharacter(c); });
        if (!allowed) {
            QApplication::beep();
            event->accept();
            return;
        }
    }
    // Return and Enter go on to the base, which marks them ignored, so the window's own
    // handling (moving the focus, the default button) still sees them.
    QAbstractSpinBox::keyPressEvent(event);
}

void NumberBox::focusOutEvent(QFocusEvent* event)
{
    int v = 0;
    if (bounded() && parseWholeNumber(value(), &v) && (v < mMin || v > mMax))
        setNumber(v);
    QAbstractSpinBox::focusOutEvent(event);
}

QSize NumberBox::sizeHint() const
{
    ensurePolished();
    // Wide enough for the longer bound and the cursor, as a numeric spin box would be.
    const QFontMetrics metrics(fontMetrics());
    QString widest = QString::number(mMin);
    if (QString::number(mMax).size() > widest.size())
        widest = QString::number(mMax);
    // A box without bounds is as wide as what the user may type.
    if (mMaxLength > widest.size())
        widest = QString(mMaxLength, QLatin1Char('0'));
    const int width = metrics.horizontalAdvance(widest + u' ') + 2;
    const int height = lineEdit()->sizeHint().height();
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, QSize(width, height), this);
}

QSize NumberBox::minimumSizeHint() const
{
    return sizeHint();
}

} // namespace nobrisa
