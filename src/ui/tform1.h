#pragma once

#include "aids/continuoustable.h"
#include "aids/infoexport.h"
#include "model/digitcells.h"
#include "settings/settings.h"
#include "ui/appcontext.h"
#include "ui/slipprinting.h"

#include <QMainWindow>

#include <array>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QTabWidget;
class QUrl;

namespace nobrisa {

class FacsimilePanel;
class FacsimileView;
class NumberBox;
class PrinterDevice;
class Prompts;
class SlipBinding;
class StringGrid;
class StringTableModel;
class TForm2;

// The help context of a page (a property of the page widget); F1 opens the help page there.
inline constexpr char kHelpContextProperty[] = "helpContext";

// The main window: the slip's fields on their pages, the menus, the toolbar, the status bar and
// the entry points of every command. It owns the one slip record of the run (each field held by
// the widget of the same objectName), the digit cells, and the print-position dialog.
//
// Start-up happens in the constructor: the window's own set-up, the application INI file loaded
// into the fields, and then the print-position dialog created, which loads its positions from the
// same file. Closing the window by any route writes everything back to that file.
class TForm1 final : public QMainWindow {
    Q_OBJECT
public:
    TForm1(const AppContext& context, PrinterDevice& printer, Prompts& prompts,
           QWidget* parent = nullptr);
    ~TForm1() override;

    const TSlipRecord& slip() const noexcept { return mState.slip; }
    const ContinuousTable& continuousTable() const noexcept { return mContinuous; }
    TForm2& printPositionDialog() const noexcept { return *mForm2; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Layout (tform1_layout.cpp).
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void buildCentre();
    QWidget* buildAccountPage();
    QWidget* buildAmountPage();
    QWidget* buildMessagePage();
    QWidget* buildLeftPayerPage();
    QWidget* buildContinuousPage();
    QWidget* buildPrintSettingsPage();
    QWidget* buildRightPayerPage();
    void installEditingAids();

    // Start-up and exit, documents (tform1.cpp).
    void fillFontLists();
    void preselectFonts();
    void loadAppIni();
    SettingsEnvironment environment() const;
    void takeWindowState();
    void rememberNormalPlace();
    void showState(bool applyWindow);
    bool saveTo(const QString& fileName, QString* error);
    QString proposedFileName() const;
    void New1Click();
    void Open1Click();
    void SaveAs1Click();
    void Msaveopt1Click();
    void Exit1Click();

    // Commands of the menus, buttons and labels (tform1_commands.cpp).
    void Print1Click();
    void PrintallClick();
    void PrintRightClick();
    void MprintpaperrevClick();
    void Mprintersetup1Click();
    void MprintshousaiClick();
    void Button4Click();
    void Button5Click();
    void Label12Click();
    void Label13Click();
    void Label18Click();
    void Label28Click();
    void CentreLeftRightClick();
    void CentreTopBottomClick();
    void Undo1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void HowtoUseHelp1Click();
    void MsorabeClick();
    void About1Click();
    void showHelp();
    // Has the desktop open a help file, or tells the user which one cannot be shown.
    void openHelpDocument(const QUrl& url);
    void CBfont3Change();
    void showLineCount(const QPlainTextEdit* editor, QLabel* counter);
    void showPrinterName();
    void showHint(const QString& hint);
    // Shows a command's result in the hint panel, where it stays until the mouse moves.
    void showResult(const QString& text);
    void searchOcrb(QComboBox* list);
    static void sendShortcut(QWidget* target, Qt::Key letter);
    void print(SlipPrinting::Outcome (SlipPrinting::*command)(QWidget*, const SlipSource&));
    void showFieldContextMenu(QWidget* field);

    // The facsimile of the slip left of the pages (tform1_facsimile.cpp).
    void MpreviewClick();     // the slip
    void ToolButton28Click(); // the continuous table's current row
    // Records the form and the slip, or the table row `row`, with the current printer and shows
    // it; keeps the previous picture and tells the user when the printer gives no page to draw.
    bool showFacsimile(const RowSource* row);

    // Registered payers and subscribers (tform1_registered.cpp).
    void MharaikomininClick(); // the registered payers dialog
    void MkanyushaClick();     // the registered subscribers dialog

    // The text workbench (tform1_workbench.cpp).
    QWidget* buildTextPage();
    void ToolButton4Click(); // empty the editor
    void ToolButton5Click(); // open a text file
    void ToolButton6Click(); // cut
    void ToolButton7Click(); // copy
    void ToolButton8Click(); // paste
    void ToolButton9Click(); // delete the selection
    // SpeedButton1 … SpeedButton11: switches the target field's printing on, then puts the
    // editor's selection, when there is one, in place of the field's whole text.
    void transferSelection(std::size_t button);
    void SpeedButton12Click(); // full-width digits to ASCII
    void SpeedButton14Click(); // tabs and leading blanks
    void SpeedButton15Click(); // empty lines
    void SpeedButton16Click(); // commas
    // Puts `text` in place of the editor's whole text as one step the user can undo.
    void replaceEditorText(const QString& text);
    // The editor's whole text, its lines separated by LF.
    QString editorText() const;

    // Text import and information export (tform1_textio.cpp).
    void MtextkanyuClick();
    void MtextharaiClick();
    void MsavetxttxtClick();
    void MsavetxtcsvClick();
    // Reads the lines of a text file the user chooses, whose name goes to `fileName`; nullopt
    // when cancelled or unreadable.
    std::optional<QStringList> chooseImportFile(QString& fileName);
    void showImported(const QString& fileName, const QString& what);
    void exportInformation(ExportFormat format);

    // The continuous-print page (tform1_continuous.cpp).
    bool continuousPageActive() const;
    void ToolButton16Click(); // continuous print
    void ToolButton17Click(); // open a CSV file
    void ToolButton18Click(); // copy the current cell
    void ToolButton19Click(); // cut the current cell
    void ToolButton20Click(); // paste into the current cell
    void ToolButton21Click(); // empty the current cell
    void ToolButton22Click(); // new table
    void ToolButton25Click(); // add rows
    void ToolButton26Click(); // add a column
    void ToolButton29Click(); // paper preview of the current row
    void SpeedButton13Click();
    void Label53Click();
    void Label59Click();
    void showMapping();
    void showRangeBounds();
    void showReplacedTable();
    int dataRowCount() const;

    AppContext mContext;
    PrinterDevice& mPrinter;
    Prompts& mPrompts;
    SlipPrinting mPrinting;
    // The whole document: the slip record (the fields' values), the naming option, the file
    // dialogs' folders and names, and the window geometry and orientation as last stored.
    SettingsState mState;
    DigitCells mCells;
    QStringList mFaces;
    // Where the window stands and how large it is when shown normally: kept while it is
    // maximised or minimised, to be stored and to come back to.
    QRect mNormalPlace;
    bool mMaximiseWhenShown = false;
    SlipBinding* mBinding = nullptr;
    TForm2* mForm2 = nullptr;
    // The continuous-print table, its column mapping and the range bound; lives as long as the
    // window and is stored nowhere.
    ContinuousTable mContinuous;

    FacsimilePanel* mFacsimileArea = nullptr; // Panel1
    FacsimileView* mFacsimile = nullptr;      // Image1
    QTabWidget* mPages = nullptr;
    QPlainTextEdit* mTextEditor = nullptr; // RichEdit1, its text stored nowhere
    QWidget* mContinuousPage = nullptr; // TabSheet6
    StringGrid* mGrid = nullptr;        // StringGrid1
    StringTableModel* mGridModel = nullptr;
    std::array<QComboBox*, kMapFieldCount> mColumnLists{}; // ComboBox1 … ComboBox10
    NumberBox* mBegin = nullptr;                           // SEbegin
    NumberBox* mEnd = nullptr;                             // SEend
    QLabel* mHintPanel = nullptr;
    bool mResultShown = false;
    QPoint mResultCursor; // where the mouse was when the result was shown
    QAction* mPrinterName = nullptr;
    QAction* mNameBySubscriber = nullptr; // Msaveopt1
    QAction* mNameByAccount = nullptr;    // Msaveopt2
};

} // namespace nobrisa
