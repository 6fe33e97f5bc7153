#pragma once

#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

class QPrinter;
class QWidget;

namespace nobrisa {

// Every modal question the program asks and every request to the desktop shell, in one place,
// so that widget tests answer them instead of blocking on a real dialog (FakePrompts in tests).
class Prompts {
public:
    virtual ~Prompts() = default;

    struct FileDialog {
        QString title;         // "設定ファイルの読み込み"
        QString folder;        // initial folder
        QString fileName;      // proposed name (bare or with folder)
        QString filter;        // "設定ファイル (*.dat);;すべて (*)"
        QString defaultSuffix; // "dat"
    };
    // The chosen file, or empty when the user cancelled. The open dialog accepts only an
    // existing file; the save dialog asks before it overwrites one.
    virtual QString openFile(QWidget* parent, const FileDialog& dialog) = 0;
    virtual QString saveFile(QWidget* parent, const FileDialog& dialog) = 0;

    // A one-line input box; nullopt when cancelled.
    virtual std::optional<QString> inputText(QWidget* parent, const QString& caption,
                                             const QString& prompt, const QString& initial) = 0;

    // An error the user must read (file name and reason, in Japanese).
    virtual void error(QWidget* parent, const QString& message) = 0;
    // Something the user should know of a command that was done all the same (a file written
    // with characters replaced).
    virtual void warning(QWidget* parent, const QString& message) = 0;

    // A question before something that cannot be taken back, such as feeding a pre-printed
    // form: true for the button `accept`; `reject` is the default and answers Escape.
    enum class Tone { Question, Warning };
    virtual bool confirm(QWidget* parent, Tone tone, const QString& message, const QString& accept,
                         const QString& reject) = 0;

    // Writing the application INI file at exit failed: try again, close without saving, or stay
    // in the program (so that the slip can be saved elsewhere first).
    enum class SaveFailedChoice { Retry, CloseWithoutSaving, StayOpen };
    virtual SaveFailedChoice saveFailedAtExit(QWidget* parent, const QString& message) = 0;

    // The printer setup dialog (printer, paper, orientation, printing to a PDF file) on the
    // printer given; its outcome is not needed by the caller.
    virtual void printerSetup(QWidget* parent, QPrinter& printer) = 0;

    // Asks the desktop to open a file or address; false when it cannot (no browser or other
    // program to open it with).
    virtual bool openUrl(const QUrl& url) = 0;

    // A window-modal progress display of a long print with a cancel button "中止". While it is
    // up the window behind it takes no input.
    class Progress {
    public:
        virtual ~Progress() = default;
        // `done` of the total pages are drawn; false once the user has cancelled.
        virtual bool advance(int done) = 0;
    };
    virtual std::unique_ptr<Progress> progress(QWidget* parent, const QString& label,
                                               int total) = 0;
};

// The real dialogs and the desktop shell.
class QtPrompts final : public Prompts {
public:
    QString openFile(QWidget* parent, const FileDialog& dialog) override;
    QString saveFile(QWidget* parent, const FileDialog& dialog) override;
    std::optional<QString> inputText(QWidget* parent, const QString& caption,
                                     const QString& prompt, const QString& initial) override;
    void error(QWidget* parent, const QString& message) override;
    void warning(QWidget* parent, const QString& message) override;
    bool confirm(QWidget* parent, Tone tone, const QString& message, const QString& accept,
                 const QString& reject) override;
    SaveFailedChoice saveFailedAtExit(QWidget* parent, const QString& message) override;
    void printerSetup(QWidget* parent, QPrinter& printer) override;
    bool openUrl(const QUrl& url) override;
    std::unique_ptr<Progress> progress(QWidget* parent, const QString& label, int total) override;
};

} // namespace nobrisa
