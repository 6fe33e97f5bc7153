#pragma once

#include "aids/registeredlist.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QGridLayout;
class QLineEdit;
class QPlainTextEdit;

namespace nobrisa {

class IniFile;
class Prompts;

// What the two registered-list dialogs share: the list of registration names (ComboBox1), the
// group of an entry's fields, the commands 払込書にコピー, 新規登録, 更新, 削除, 取得 and the
// close button. Every change is written to the application INI file at once; the fields are the
// entry being edited, named as the slip window's fields they are copied to and taken from.
//
// A subclass adds its fields to fieldGrid() (named after the list's fields) and then calls
// finishSetUp(), which reads the list.
class RegisteredDialog : public QDialog {
    Q_OBJECT
public:
    // The number of entries of the list as the dialog knows it.
    int entryCount() const noexcept { return mEntryCount; }

    // Reads entry `index` from the file into the fields; false, changing nothing, when the list
    // is empty. The registration name is not read.
    bool LoadEntry(int index);
    // Writes the entry count and the fields as entry `index`, under the name selected in the
    // list. On a failure the user is told, and the list is read again from the file.
    bool SaveEntry(int index);

protected:
    RegisteredDialog(RegisteredList::Kind kind, const QString& appIniPath, Prompts& prompts,
                     QWidget& slipWindow, QWidget* parent);

    QGridLayout* fieldGrid() const noexcept { return mFieldGrid; }
    // Fields for the grid: a one-line field (no input method: half-width text) and a
    // multi-line one (input method on, Enter breaks the line).
    QLineEdit* lineField(const char* name, int maxLength, const QString& hint);
    QPlainTextEdit* linesField(const char* name, const QString& hint, int visibleLines);
    void finishSetUp();

    // The initial text of the name asked for by 新規登録.
    virtual QString proposedName() const { return QString(); }

    void showEvent(QShowEvent* event) override;

private:
    void Button1Click(); // copy to the slip
    void Button2Click(); // new entry
    void Button3Click(); // update the selected entry
    void Button4Click(); // delete the selected entry
    void Button5Click(); // take from the slip
    void ComboBox1Change();

    // Reads the names and the count from the file again. `loadFirst`: as on opening, entry 0
    // is loaded and selected (or the fields emptied); otherwise the fields keep what they show.
    void reloadList(bool loadFirst);
    bool readFile(IniFile& ini);
    QWidget* field(const RegisteredList::Field& f) const;
    QWidget* slipField(const RegisteredList::Field& f) const;
    QStringList fieldValues() const;
    void showValues(const QStringList& values);

    RegisteredList mList;
    QString mIniPath;
    Prompts& mPrompts;
    QWidget& mSlipWindow;
    int mEntryCount = 0;
    QComboBox* mNames = nullptr; // ComboBox1
    QGridLayout* mFieldGrid = nullptr;
    std::vector<QWidget*> mFieldOrder; // the fields in the order the subclass made them
};

} // namespace nobrisa
