#pragma once

#include "dialogs/Chrome.h"

#include <functional>
#include <memory>

class Module1;
class PictureButton;
class QListWidget;
class QPrintDialog;
class QPrinter;

// The print window: what to print (the shown disc, the search results, all
// discs) and which fields in which order.
class frmPrint : public RoundedWindow
{
    Q_OBJECT
public:
    frmPrint(Module1& state, QWidget* owner);

    void picPrint_MouseUp(int Button, int Shift, float X, float Y);
    void picCancel_MouseUp(int Button, int Shift, float X, float Y);
    void picRight_MouseUp(int Button, int Shift, float X, float Y);
    void picLeft_MouseUp(int Button, int Shift, float X, float Y);
    void picUp_MouseUp(int Button, int Shift, float X, float Y);
    void picDown_MouseUp(int Button, int Shift, float X, float Y);

    // Lays out PrintText for a method (1 shown disc, 2 search results, 3 all
    // discs). Method 3 without discs tells the user and closes the window.
    void Psetting(int method);
    QString PrintText;

    // Lets the user choose the printer; false when the choice was cancelled.
    // The printer dialog by default.
    std::function<bool(QPrinter&)> choosePrinter;
    // Asks where to save a file (title, suggested name, filter); empty when
    // cancelled. The desktop's file dialog by default.
    std::function<QString(const QString&, const QString&, const QString&)> chooseFile;
    static QString askForFile(const QString& title, const QString& suggested,
                              const QString& filter);
    // The choices: the print methods, the catalogue's duplicate tracks and
    // its figures, the shown disc's case inlay as a PDF and the whole
    // catalogue as a spreadsheet.
    static inline const QString CurrentDiscChoice = QStringLiteral("Current disc");
    static inline const QString AllDiscsChoice = QStringLiteral("All discs");
    static inline const QString SearchResultsChoice = QStringLiteral("Search results");
    static inline const QString DuplicatesChoice = QStringLiteral("Duplicate tracks");
    static inline const QString StatisticsChoice = QStringLiteral("Catalogue statistics");
    static inline const QString InlayChoice =
        QStringLiteral("Case inlay of the current disc (PDF)");
    static inline const QString SpreadsheetChoice =
        QStringLiteral("Catalogue as a spreadsheet (CSV)");
    // The printer dialog as the program shows it.
    static std::unique_ptr<QPrintDialog> printerDialog(QPrinter& printer);

    QListWidget* lstPrint;
    QListWidget* lstOption;
    QListWidget* lstSelect;
    PictureButton* picRight;
    PictureButton* picLeft;
    PictureButton* picUp;
    PictureButton* picDown;
    PictureButton* picPrint;
    PictureButton* picCancel;

    // The main window's search (for the search results): false when nothing
    // was asked for or found.
    std::function<bool()> Searchsub;

private:
    QStringList chosenFields() const;
    void writeInlay();
    void writeSpreadsheet();
    void printReport(const QString& choice);
    // Prints PrintText on the printer the user chooses; false when the
    // choice was cancelled or printing failed (which is told).
    bool printOnChosen();
    bool m_closedByLayout = false;
    bool m_searched = false;
    Module1& m_state;
};
