#include "ui/prompts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QPushButton>

#include <memory>

namespace nobrisa {

namespace {

QFileDialog* makeDialog(QWidget* parent, const Prompts::FileDialog& d)
{
    auto* dialog = new QFileDialog(parent, d.title, d.folder, d.filter);
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    dialog->setDefaultSuffix(d.defaultSuffix);
    if (!d.fileName.isEmpty())
        dialog->selectFile(d.fileName);
    return dialog;
}

class DialogProgress final : public Prompts::Progress {
public:
    DialogProgress(QWidget* parent, const QString& label, int total)
        : mDialog(label, QStringLiteral("中止"), 0, total, parent)
    {
        mDialog.setWindowTitle(QStringLiteral("Nobrisa"));
        mDialog.setWindowModality(Qt::WindowModal);
        mDialog.setMinimumDuration(0);
        mDialog.setAutoReset(false);
        mDialog.setAutoClose(false);
        mDialog.setValue(0);
    }

    bool advance(int done) override
    {
        // A window-modal dialog lets the events through here, the cancel button's click too.
        mDialog.setValue(done);
        QCoreApplication::processEvents();
        return !mDialog.wasCanceled();
    }

private:
    QProgressDialog mDialog;
};

} // namespace

QString QtPrompts::openFile(QWidget* parent, const FileDialog& d)
{
    std::unique_ptr<QFileDialog> dialog(makeDialog(parent, d));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().constFirst();
}

QString QtPrompts::saveFile(QWidget* parent, const FileDialog& d)
{
    std::unique_ptr<QFileDialog> dialog(makeDialog(parent, d));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().constFirst();
}

std::optional<QString> QtPrompts::inputText(QWidget* parent, const QString& caption,
                                            const QString& prompt, const QString& initial)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

void QtPrompts::error(QWidget* parent, const QString& message)
{
    QMessageBox::critical(parent, QStringLiteral("Nobrisa"), message);
}

void QtPrompts::warning(QWidget* parent, const QString& message)
{
    QMessageBox::warning(parent, QStringLiteral("Nobrisa"), message);
}

bool QtPrompts::confirm(QWidget* parent, Tone tone, const QString& message, const QString& accept,
                        const QString& reject)
{
    QMessageBox box(tone == Tone::Warning ? QMessageBox::Warning : QMessageBox::Question,
                    QStringLiteral("Nobrisa"), message, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(accept, QMessageBox::AcceptRole);
    QPushButton* no = box.addButton(reject, QMessageBox::RejectRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

Prompts::SaveFailedChoice QtPrompts::saveFailedAtExit(QWidget* parent, const QString& message)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Nobrisa"), message, QMessageBox::NoButton,
                    parent);
    QPushButton* retry = box.addButton(QStringLiteral("再試行"), QMessageBox::AcceptRole);
    QPushButton* close =
        box.addButton(QStringLiteral("保存せずに終了"), QMessageBox::DestructiveRole);
    QPushButton* stay = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(retry);
    box.setEscapeButton(stay);
    box.exec();
    if (box.clickedButton() == retry)
        return SaveFailedChoice::Retry;
    return box.clickedButton() == close ? SaveFailedChoice::CloseWithoutSaving
                                        : SaveFailedChoice::StayOpen;
}

void QtPrompts::printerSetup(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("プリンタの設定"));
    // Only the choice of printer, paper and orientation matters: no copies, no page range.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    // The dialog only chooses: its button must not promise to print, and the copies, page
    // ranges and page sets behind its "Options" button would change what every print sends.
    const QString optionsText = QCoreApplication::translate("QPrintDialog", "&Options >>");
    for (auto* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == optionsText)
            button->hide();
    }
    for (auto* buttons : dialog.findChildren<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    }
    dialog.exec();
}

bool QtPrompts::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

std::unique_ptr<Prompts::Progress> QtPrompts::progress(QWidget* parent, const QString& label,
                                                       int total)
{
    return std::make_unique<DialogProgress>(parent, label, total);
}

} // namespace nobrisa
