#pragma once

#include <QObject>
#include <QStringList>

#include <vector>

class QWidget;

namespace nobrisa {

struct TSlipRecord;

// Keeps the slip record and the main window's field widgets in step. Each record field is held
// by the widget of the same objectName (Ekouza1, SEkingaku, CBfont1 …): a one-line edit, a
// multi-line editor, a font list, a check box or a number box. An edit updates the record at
// once; showRecord() puts the record back into the widgets after a command changed it.
class SlipBinding final : public QObject {
    Q_OBJECT
public:
    // Binds every field to its widget under `root`; the widgets must exist already.
    SlipBinding(TSlipRecord& slip, QWidget& root);
    ~SlipBinding() override;

    // Shows the record in the widgets. A widget that already shows its field's value is left
    // alone, so that a refresh keeps the cursor, the selection and the undo history of the field
    // being edited. A one-line text longer than its edit's limit is shown whole (the limit only
    // stops typing), as a text from a file is never cut.
    void showRecord();

    // The objectNames of the bound widgets, which are the record's field names.
    static QStringList fieldNames();

private:
    struct Bound;
    void bind(QWidget& root, std::size_t entry);
    void show(const Bound& bound);

    TSlipRecord& mSlip;
    std::vector<Bound> mBound;
    // While the record is being shown, the widgets' change signals must not write back: a
    // widget that cannot hold a value (a face not in its list) would change the record.
    bool mShowing = false;
};

} // namespace nobrisa
