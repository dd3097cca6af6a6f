#include "printing/frmPrint.h"

#include "dialogs/ElidedLabel.h"
#include "dialogs/PictureButton.h"
#include "dialogs/frmMsgbox.h"
#include "printing/Inlay.h"
#include "printing/PrintOut.h"
#include "store/Module1.h"
#include "store/PrintLayout.h"
#include "store/Search.h"
#include "store/Spreadsheet.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <QHash>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>

using catalogue::Track;

frmPrint::frmPrint(Module1& state, QWidget* owner)
    : RoundedWindow(QStringLiteral("print"), QSize(376, 208), 18, owner), m_state(state)
{
    setWindowTitle(QStringLiteral("Print"));
    setObjectName(QStringLiteral("frmPrint"));
    setStyleSheet(dialogStyleSheet());

    lstPrint = new QListWidget(this);
    lstPrint->setGeometry(16, 16, 345, 43);
    lstPrint->addItems({CurrentDiscChoice, AllDiscsChoice, SearchResultsChoice, DuplicatesChoice,
                        StatisticsChoice, InlayChoice, SpreadsheetChoice});
    lstPrint->setAccessibleName(QStringLiteral("What to print"));
    lstOption = new QListWidget(this);
    lstOption->setGeometry(16, 64, 121, 95);
    lstOption->addItems(printing::FieldNames);
    lstOption->setAccessibleName(QStringLiteral("Fields not printed"));
    lstSelect = new QListWidget(this);
    lstSelect->setGeometry(192, 64, 121, 95);
    lstSelect->setAccessibleName(QStringLiteral("Fields printed, in order"));
    // A little smaller than the window font, so that every method and field
    // shows without scrolling.
    QFont small = font();
    small.setPointSize(8);
    for (QListWidget* list : {lstPrint, lstOption, lstSelect}) {
        ElidingDelegate::applyTo(list);
        list->setFont(small);
        list->setStyleSheet(QStringLiteral("QListWidget::item { height: 13px; padding: 0 2px; }"));
        list->setCurrentRow(-1);
    }

    picRight =
        addButton(QStringLiteral("right"), {149, 76}, {32, 25}, QStringLiteral("Print this field"));
    picLeft = addButton(QStringLiteral("left"), {149, 122}, {32, 25},
                        QStringLiteral("Do not print this field"));
    picUp = addButton(QStringLiteral("up"), {326, 76}, {32, 25}, QStringLiteral("Move up"));
    picDown = addButton(QStringLiteral("down"), {326, 122}, {32, 25}, QStringLiteral("Move down"));
    picPrint = addButton(QStringLiteral("printbtn"), {64, 176}, {81, 26}, QStringLiteral("Print"),
                         QStringLiteral("Print (Enter)"));
    picCancel = addButton(QStringLiteral("cancel"), {240, 176}, {81, 26}, QStringLiteral("Cancel"),
                          QStringLiteral("Cancel (Esc)"));
    setKeyButtons(picPrint, picCancel);
    connect(picRight, &PictureButton::MouseUp, this, &frmPrint::picRight_MouseUp);
    connect(picLeft, &PictureButton::MouseUp, this, &frmPrint::picLeft_MouseUp);
    connect(picUp, &PictureButton::MouseUp, this, &frmPrint::picUp_MouseUp);
    connect(picDown, &PictureButton::MouseUp, this, &frmPrint::picDown_MouseUp);
    connect(picPrint, &PictureButton::MouseUp, this, &frmPrint::picPrint_MouseUp);
    connect(picCancel, &PictureButton::MouseUp, this, &frmPrint::picCancel_MouseUp);

    chooseFile = &frmPrint::askForFile;
    choosePrinter = [](QPrinter& printer) {
        const std::unique_ptr<QPrintDialog> dialog = printerDialog(printer);
        return dialog->exec() == QDialog::Accepted;
    };
}

std::unique_ptr<QPrintDialog> frmPrint::printerDialog(QPrinter& printer)
{
    // Qt's own dialog in the desktop's own look, modal to the whole program.
    auto dialog = std::make_unique<QPrintDialog>(&printer);
    useDesktopLook(dialog.get());
    dialog->setWindowModality(Qt::ApplicationModal);
    return dialog;
}

QString frmPrint::askForFile(const QString& title, const QString& suggested, const QString& filter)
{
    // Qt's own file dialog, in the desktop's look.
    QFileDialog dialog(nullptr, title,
                       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + u'/' +
                           suggested,
                       filter);
    useDesktopLook(&dialog);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QFileInfo(suggested).suffix());
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().first()
               : QString();
}

void frmPrint::writeInlay()
{
    // An inlay of part of a disc would be printed and cut as if it were whole.
    const catalogue::DiscTracks disc = m_state.catalogue().discTracks(m_state.CurrentDisc);
    if (!disc.problem.isEmpty() || m_state.DiscIncomplete) {
        frmMsgbox::tell(m_state, parentWidget(), 1,
                        QStringLiteral("The file of the disc '%1' holds fewer tracks than the "
                                       "catalogue lists, so no inlay is made of it.")
                            .arg(disc.name));
        return;
    }
    const QString path =
        chooseFile(QStringLiteral("Save the case inlay"), disc.name + QStringLiteral(" inlay.pdf"),
                   QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty())
        return; // cancelled: the window stays
    if (const QString problem = inlay::writePdf(path, disc.name, disc.tracks); !problem.isEmpty()) {
        frmMsgbox::tell(m_state, parentWidget(), 1, problem);
        return;
    }
    accept();
}

void frmPrint::writeSpreadsheet()
{
    const QString path = chooseFile(QStringLiteral("Save the catalogue as a spreadsheet"),
                                    QStringLiteral("Platterbook catalogue.csv"),
                                    QStringLiteral("Spreadsheets (*.csv)"));
    if (path.isEmpty())
        return;
    const QList<catalogue::DiscTracks> discs = m_state.catalogue().allDiscs();
    if (const QString reason = catalogue::writeForUser(path, spreadsheet::catalogueCsv(discs));
        !reason.isEmpty()) {
        frmMsgbox::tell(m_state, parentWidget(), 1,
                        QStringLiteral("Could not write '%1': %2.")
                            .arg(QDir::toNativeSeparators(path), reason));
        return;
    }
    // Discs whose files are missing or short are named; the rest is written.
    QStringList missing;
    for (const catalogue::DiscTracks& disc : discs)
        if (!disc.problem.isEmpty())
            missing.append(disc.problem);
    if (!missing.isEmpty())
        frmMsgbox::tell(m_state, parentWidget(), 3,
                        QStringLiteral("The spreadsheet was written without these tracks:\r") +
                            missing.join(u'\r'));
    accept();
}

void frmPrint::printReport(const QString& choice)
{
    if (m_state.DiscCount == 0) {
        frmMsgbox::tell(m_state, parentWidget(), 3,
                        QStringLiteral("You first need to create some discs to print!"));
        reject();
        return;
    }
    const bool duplicates = choice == DuplicatesChoice;
    const Catalogue::Report report = m_state.catalogue().report(
        duplicates ? Catalogue::ReportKind::Duplicates : Catalogue::ReportKind::Statistics);
    if (report.text.isEmpty()) {
        frmMsgbox::tell(m_state, parentWidget(), 3,
                        QStringLiteral("No two tracks of the catalogue are the same song."));
        return;
    }
    PrintText = choice + QStringLiteral("\r\r") + report.text.join(QString()).replace(u'\n', u'\r');
    if (!printOnChosen())
        return;
    // Discs whose files are missing or short are named; the rest was printed.
    if (!report.problems.isEmpty())
        frmMsgbox::tell(m_state, parentWidget(), 3,
                        QStringLiteral("The list was printed without these tracks:\r") +
                            report.problems.join(u'\r'));
    accept();
}

static int selectedRow(const QListWidget* list)
{
    const int row = list->currentRow();
    return row >= 0 && list->currentItem()->isSelected() ? row : -1;
}

// Moves the chosen field of one list to the end of the other.
static void moveChosen(QListWidget* from, QListWidget* to)
{
    const int row = selectedRow(from);
    if (row < 0)
        return;
    to->addItem(from->item(row)->text());
    delete from->takeItem(row);
    from->setCurrentRow(-1);
    from->clearSelection();
}

void frmPrint::picRight_MouseUp(int, int, float X, float Y)
{
    if (picRight->release(X, Y))
        moveChosen(lstOption, lstSelect);
}

void frmPrint::picLeft_MouseUp(int, int, float X, float Y)
{
    if (picLeft->release(X, Y))
        moveChosen(lstSelect, lstOption);
}

void frmPrint::picUp_MouseUp(int, int, float X, float Y)
{
    const int i = selectedRow(lstSelect);
    if (!picUp->release(X, Y) || i <= 0)
        return;
    lstSelect->insertItem(i - 1, lstSelect->takeItem(i));
    lstSelect->setCurrentRow(i - 1);
}

void frmPrint::picDown_MouseUp(int, int, float X, float Y)
{
    const int i = selectedRow(lstSelect);
    if (!picDown->release(X, Y) || i < 0 || i >= lstSelect->count() - 1)
        return;
    lstSelect->insertItem(i + 1, lstSelect->takeItem(i));
    lstSelect->setCurrentRow(i + 1);
}

void frmPrint::picCancel_MouseUp(int, int, float X, float Y)
{
    if (picCancel->release(X, Y))
        reject();
}

QStringList frmPrint::chosenFields() const
{
    QStringList fields;
    for (int i = 0; i < lstSelect->count(); ++i)
        fields.append(lstSelect->item(i)->text());
    return fields;
}

void frmPrint::Psetting(int method)
{
    PrintText.clear();
    const QStringList fields = chosenFields();
    if (method == printing::CurrentDisc) {
        PrintText = printing::currentDisc(m_state.Tracks.mid(0, m_state.TrackCount), fields);
        return;
    }
    // Other discs are read into a table of the layout's own: the shown
    // disc's tracks stay as they are.
    if (method == printing::AllDiscs) {
        if (m_state.DiscCount == 0) {
            frmMsgbox::tell(m_state, parentWidget(), 3,
                            QStringLiteral("You first need to create some discs to print!"));
            m_closedByLayout = true;
            reject();
            return;
        }
        PrintText = printing::allDiscs(m_state.catalogue().allDiscs(), fields);
        return;
    }
    m_searched = Searchsub && Searchsub();
    if (!m_searched)
        return;
    // Each disc's file is read once, however many hits it holds.
    QHash<int, std::optional<QString>> texts;
    QHash<int, QList<Track>> tracksOf;
    QList<printing::Hit> hits;
    for (int k = 0; k < m_state.HitCount; ++k) {
        const auto& row = m_state.SearchHits.at(k);
        const int disc = int(row[0]) - 1;
        if (disc >= m_state.DiscCount)
            continue;
        const QString name = m_state.Discs.at(disc).name;
        if (!texts.contains(disc)) {
            texts.insert(disc, catalogue::readWholeText(m_state.discPathFor(name)));
            tracksOf.insert(disc, m_state.catalogue().discTracks(disc).tracks);
        }
        const std::optional<QString>& text = texts[disc];
        const std::optional<int> cell =
            text ? search::cellOf(*text, row[1] + row[2], m_state.SearchText) : std::nullopt;
        if (!cell)
            continue;
        const int track = *cell / catalogue::FieldCount + 1;
        const QList<Track>& tracks = tracksOf[disc];
        printing::Hit hit{disc + 1, name, track, std::nullopt};
        if (track <= tracks.size())
            hit.fields = tracks.at(track - 1);
        hits.append(hit);
    }
    PrintText = printing::searchResults(m_state.SearchText, hits, fields);
}

void frmPrint::picPrint_MouseUp(int, int, float X, float Y)
{
    if (!picPrint->release(X, Y))
        return;
    const int row = selectedRow(lstPrint);
    const QString choice = row >= 0 ? lstPrint->item(row)->text() : QString();
    const bool discShown = m_state.TrackCount >= 1 && m_state.CurrentDisc >= 0 &&
                           m_state.CurrentDisc < m_state.DiscCount && !m_state.DiscPath.isEmpty();
    int method = 0;
    if (choice == CurrentDiscChoice || choice == InlayChoice) {
        if (!discShown) {
            frmMsgbox::tell(m_state, parentWidget(), 1,
                            QStringLiteral("You must first choose a disc."));
            reject();
            return;
        }
        if (choice == InlayChoice) {
            writeInlay();
            return;
        }
        method = printing::CurrentDisc;
    } else if (choice == SearchResultsChoice) {
        method = printing::SearchResults;
    } else if (choice == AllDiscsChoice) {
        method = printing::AllDiscs;
    } else if (choice == DuplicatesChoice || choice == StatisticsChoice) {
        printReport(choice);
        return;
    } else if (choice == SpreadsheetChoice) {
        writeSpreadsheet();
        return;
    } else {
        frmMsgbox::tell(m_state, parentWidget(), 1,
                        QStringLiteral("You must choose a print method."));
        reject();
        return;
    }
    Psetting(method);
    if (m_closedByLayout)
        return;
    if (lstSelect->count() == 0) {
        frmMsgbox::tell(m_state, parentWidget(), 1,
                        QStringLiteral("You must choose what data you want to print"));
        return;
    }
    if (method == printing::SearchResults && !m_searched)
        return;
    if (printOnChosen())
        accept();
}

bool frmPrint::printOnChosen()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(QStringLiteral("Platterbook"));
    if (!choosePrinter(printer))
        return false;
    // Printed to a file: the pages are made beside it first and then written
    // as every file for the user is, so that a device or a pipe is written
    // to rather than replaced and a failed write says so.
    const QString target =
        printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    QTemporaryDir pages;
    if (!target.isEmpty())
        printer.setOutputFileName(pages.filePath(QStringLiteral("print.pdf")));
    // A cancelled printer dialog ends quietly; a printer that fails says so.
    QString problem = printOut(printer, PrintText);
    if (problem.isEmpty() && !target.isEmpty()) {
        const std::optional<QByteArray> bytes = catalogue::readFileBytes(printer.outputFileName());
        problem = !bytes ? QStringLiteral("the pages could not be made")
                         : catalogue::writeForUser(target, *bytes);
        if (!problem.isEmpty())
            problem = QStringLiteral("'%1' could not be written: %2")
                          .arg(QDir::toNativeSeparators(target), problem);
    }
    if (!problem.isEmpty()) {
        frmMsgbox::tell(m_state, parentWidget(), 1,
                        QStringLiteral("Printing failed: %1.").arg(problem));
        return false;
    }
    return true;
}
