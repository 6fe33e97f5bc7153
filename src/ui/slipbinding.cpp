#include "ui/slipbinding.h"

#include "model/tsliprecord.h"
#include "ui/numberbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>
#include <array>
#include <variant>

namespace nobrisa {

namespace {

using R = TSlipRecord;
using Field = std::variant<bool R::*, QString R::*, NumberText R::*>;

struct FieldEntry {
    const char* name;
    Field field;
};

// Every field of the record and the widget that holds it, by the widget's objectName.
const std::array<FieldEntry, 33> kFields{{
    {"CheckBox1", &R::CheckBox1},
    {"Ekouza1", &R::Ekouza1},
    {"Ekouza2", &R::Ekouza2},
    {"Ekouza3", &R::Ekouza3},
    {"CBfont1", &R::CBfont1},
    {"SpinEditFont1", &R::SpinEditFont1},
    {"Ekanyu", &R::Ekanyu},
    {"CBfont5", &R::CBfont5},
    {"SEfont5", &R::SEfont5},
    {"SEfont51", &R::SEfont51},
    {"CheckBoxfont5", &R::CheckBoxfont5},
    {"CheckBox2", &R::CheckBox2},
    {"SEkingaku", &R::SEkingaku},
    {"CBfont2", &R::CBfont2},
    {"SpinEditFont2", &R::SpinEditFont2},
    {"CheckBox3", &R::CheckBox3},
    {"MemoTsuushin", &R::MemoTsuushin},
    {"CBfont3", &R::CBfont3},
    {"SEfont3", &R::SEfont3},
    {"CheckBox4", &R::CheckBox4},
    {"Ezip", &R::Ezip},
    {"Maddres", &R::Maddres},
    {"Etele1", &R::Etele1},
    {"Etele2", &R::Etele2},
    {"Etele3", &R::Etele3},
    {"CBfont4", &R::CBfont4},
    {"SEfont4", &R::SEfont4},
    {"CheckBoxfont4", &R::CheckBoxfont4},
    {"CheckBox4R", &R::CheckBox4R},
    {"MaddresR", &R::MaddresR},
    {"SEfont41", &R::SEfont41},
    {"SEleftright", &R::SEleftright},
    {"SEtopbottom", &R::SEtopbottom},
}};

// The editor separates lines by LF; the record, like the files, by CR LF.
QString editorToRecord(QString text)
{
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QString recordToEditor(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

// The face a font list shows: its current entry, or none.
QString selectedFace(const QComboBox& list)
{
    return list.currentIndex() < 0 ? QString() : list.currentText();
}

} // namespace

struct SlipBinding::Bound {
    QWidget* widget;
    Field field;
    int lengthLimit; // a one-line edit's own limit on typing
};

SlipBinding::SlipBinding(TSlipRecord& slip, QWidget& root)
    : QObject(&root)
    , mSlip(slip)
{
    mBound.reserve(kFields.size());
    for (std::size_t i = 0; i < kFields.size(); ++i)
        bind(root, i);
}

SlipBinding::~SlipBinding() = default;

QStringList SlipBinding::fieldNames()
{
    QStringList names;
    for (const FieldEntry& entry : kFields)
        names << QString::fromLatin1(entry.name);
    return names;
}

void SlipBinding::bind(QWidget& root, std::size_t entry)
{
    const FieldEntry& e = kFields.at(entry);
    QWidget* widget = root.findChild<QWidget*>(QString::fromLatin1(e.name));
    Q_ASSERT_X(widget != nullptr, "SlipBinding", e.name);
    if (widget == nullptr)
        return;
    mBound.push_back({widget, e.field, 0});
    const std::size_t index = mBound.size() - 1;

    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        const auto field = std::get<bool R::*>(e.field);
        connect(box, &QCheckBox::toggled, this, [this, field](bool on) {
            if (!mShowing)
                mSlip.*field = on;
        });
    } else if (auto* number = qobject_cast<NumberBox*>(widget)) {
        const auto field = std::get<NumberText R::*>(e.field);
        connect(number, &NumberBox::textChanged, this, [this, field](const QString& text) {
            if (!mShowing)
                (mSlip.*field).setText(text);
        });
    } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
        const auto field = std::get<QString R::*>(e.field);
        connect(list, &QComboBox::currentIndexChanged, this, [this, field, list] {
            if (!mShowing)
                mSlip.*field = selectedFace(*list);
        });
    } else if (auto* lines = qobject_cast<QPlainTextEdit*>(widget)) {
        const auto field = std::get<QString R::*>(e.field);
        connect(lines, &QPlainTextEdit::textChanged, this, [this, field, lines] {
            if (!mShowing)
                mSlip.*field = editorToRecord(lines->toPlainText());
        });
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        const auto field = std::get<QString R::*>(e.field);
        mBound[index].lengthLimit = edit->maxLength();
        const int limit = edit->maxLength();
        connect(edit, &QLineEdit::textChanged, this, [this, field](const QString& text) {
            if (!mShowing)
                mSlip.*field = text;
        });
        // A longer text shown from a file raised the limit; the user's deletions lower it again
        // until it is the edit's own. Setting the limit resets the edit's undo history, so it is
        // set only when it changes.
        connect(edit, &QLineEdit::textEdited, this, [edit, limit](const QString& text) {
            const int wanted = std::max(limit, static_cast<int>(text.size()));
            if (edit->maxLength() != wanted)
                edit->setMaxLength(wanted);
        });
    } else {
        Q_ASSERT_X(false, "SlipBinding", e.name);
    }
}

void SlipBinding::showRecord()
{
    mShowing = true;
    for (const Bound& bound : mBound)
        show(bound);
    mShowing = false;
}

void SlipBinding::show(const Bound& bound)
{
    QWidget* widget = bound.widget;
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        box->setChecked(mSlip.*std::get<bool R::*>(bound.field));
    } else if (auto* number = qobject_cast<NumberBox*>(widget)) {
        const QString& text = (mSlip.*std::get<NumberText R::*>(bound.field)).text();
        if (number->value() != text)
            number->setText(text);
    } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
        // The record holds the list's own spelling or nothing (see selectFaces).
        list->setCurrentIndex(list->findText(mSlip.*std::get<QString R::*>(bound.field),
                                             Qt::MatchFixedString | Qt::MatchCaseSensitive));
    } else if (auto* lines = qobject_cast<QPlainTextEdit*>(widget)) {
        const QString text = recordToEditor(mSlip.*std::get<QString R::*>(bound.field));
        if (lines->toPlainText() != text)
            lines->setPlainText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        const QString& text = mSlip.*std::get<QString R::*>(bound.field);
        if (edit->text() != text) {
            edit->setMaxLength(std::max(bound.lengthLimit, static_cast<int>(text.size())));
            edit->setText(text);
        }
    }
}

} // namespace nobrisa
