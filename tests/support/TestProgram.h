#pragma once

#include "dialogs/ElidedLabel.h"
#include "dialogs/PictureButton.h"
#include "dialogs/frmDialog.h"
#include "dialogs/frmMsgbox.h"
#include "editing/frmNewd.h"
#include "editing/frmNewt.h"
#include "editing/frmRemove.h"
#include "main/Screenres.h"
#include "main/frmMain.h"
#include "navigator/frmNavi.h"
#include "options/frmOption.h"
#include "printing/frmPrint.h"
#include "store/CatalogueFiles.h"
#include "store/Module1.h"
#include "support/ChooseDisc.h"
#include "support/QtPrinters.h"

#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <gtest/gtest.h>
#include <memory>

// A fresh program around its own temporary program folder, settings file and
// screen width.
class TestProgram
{
public:
    explicit TestProgram(int screenWidth = 1024);
    // A second program on the same folder and settings as another.
    explicit TestProgram(const TestProgram& sameFolder);

    QString programDir() const { return m_path; }
    QString dataPath(const QString& name) const { return m_path + "/Data/" + name; }
    void putFile(const QString& name, const QByteArray& bytes); // Data/<name>
    void putIndex(const QList<catalogue::DiscRow>& discs)
    {
        putFile("index.txt", catalogue::indexBytes(discs));
    }
    void putDisc(const QString& name, const QList<catalogue::Track>& tracks)
    {
        putFile(name + ".txt", catalogue::discBytes(tracks));
    }
    QByteArray bytes(const QString& name) const; // Data/<name>, "<missing>" when absent

    // Answers the next message boxes in turn ("yes", "no", "" for Okay/Enter,
    // or a search text) without showing them.
    void answer(const QStringList& answers);
    QStringList messageTexts() const;
    QString lastMessage() const { return messageTexts().value(messageTexts().size() - 1); }
    int lastKind() const;

    // Builds the main window and runs its start-up; false when the program ended.
    bool start();
    // start() with a catalogue of the given discs already on disk.
    bool startWith(const QList<std::pair<QString, QList<catalogue::Track>>>& discs);

    Module1& state() { return *m_state; }
    TestHooks& hooks() { return m_hooks; }
    frmMain& main() { return *m_main; }
    bool ended() const { return m_ended; }

private:
    QTemporaryDir m_dir;
    QString m_path;
    TestHooks m_hooks;
    std::unique_ptr<Module1> m_state;
    std::unique_ptr<frmMain> m_main;
    QStringList m_answers;
    bool m_ended = false;
};

// n tracks titled <prefix>1, <prefix>2, ...
QList<catalogue::Track> makeTracks(int n, const QString& prefix = QStringLiteral("T"),
                                   const QString& length = QStringLiteral("4:05"));

// A track with distinct texts for every field.
catalogue::Track makeTrack(const QString& title, const QString& length = QStringLiteral("4:05"),
                           const QString& comment = {});

// Every message shown so far, each as "<kind> <text>".
QStringList messagesWithKinds(TestProgram& program);

// The main window at a glance: "<shown disc> | chooser <row> | disc <CurrentDisc> |
// <TrackCount> tracks, <shown> rows", and ", read-only" when the comments are.
QString mainView(TestProgram& program);

// Presses the left mouse button on a widget at from, moves it by and releases.
void dragBy(QWidget* on, QPoint from, QPoint by);

// Presses a picture button with the left mouse button and releases it at a
// point in its own pixels.
void click(PictureButton* button, QPoint at = QPoint(2, 2));

// Runs action on the next modal window that opens (a message box or a dialog),
// from inside its modal loop, while the wait lives. The test fails when no
// window opened by the time the wait goes, and a wait that is gone answers
// nothing later.
class ModalWait
{
public:
    explicit ModalWait(std::function<void(QWidget*)> action);
    ~ModalWait();
    ModalWait(const ModalWait&) = delete;
    ModalWait& operator=(const ModalWait&) = delete;

private:
    QTimer m_timer;
    QPointer<QWidget> m_before;
    std::function<void(QWidget*)> m_action;
    bool m_done = false;
};

// Stands in for the desktop's mail program while it lives: the desktop says
// it has one, and the mail links opened land here.
class MailProgram : public QObject
{
    Q_OBJECT
public:
    MailProgram();
    ~MailProgram() override;
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }

private:
    QTemporaryDir m_bin;
    QByteArray m_path;
};

// Closes a window as the window system does (Alt+F4).
void closeByWindowSystem(QWidget* window);

// Gives a widget the keyboard focus, its window made active first.
void giveFocus(QWidget* widget);

// Types a key into a window as the keyboard would: to the control that has the
// focus in it, or to the window itself.
void keyTo(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Presses opener and acts in the modal dialog of type Dialog that it opens,
// from inside the dialog's modal loop; a dialog that act leaves open is then
// closed as the window system would. The test fails when no such dialog opens.
template <class Dialog>
void inDialog(PictureButton* opener, const std::function<void(Dialog&)>& act)
{
    const ModalWait wait([&act](QWidget* modal) {
        auto* dialog = qobject_cast<Dialog*>(modal);
        ASSERT_NE(dialog, nullptr) << "opened " << modal->metaObject()->className();
        act(*dialog);
        if (dialog->isVisible())
            closeByWindowSystem(dialog);
    });
    click(opener);
}

// Types a name and a count into the new disc dialog and presses Save: the
// track window it opens when the disc was made, or null.
inline frmNewt* newDisc(TestProgram& p, const QString& name, const QString& count)
{
    inDialog<frmNewd>(p.main().picNewd, [&](frmNewd& d) {
        d.txtDisc->setText(name);
        d.txtTracks->setText(count);
        click(d.picSave);
    });
    return p.main().trackEntry();
}

// What the track window's boxes hold.
inline catalogue::Track shown(frmNewt* entry)
{
    catalogue::Track track;
    for (int f = 0; f < catalogue::FieldCount; ++f)
        track[f] = entry->boxes()[f]->text();
    return track;
}

// Types a track into the open track window and stores it.
inline void typeTrack(frmNewt* entry, const catalogue::Track& track)
{
    for (int f = 0; f < catalogue::FieldCount; ++f)
        entry->boxes()[f]->setText(track[f]);
    click(entry->picSave);
}

// Chooses line `row` (none when negative) in the list the opener opens and
// presses Enter, the question answered.
inline void removeDialog(TestProgram& p, PictureButton* opener, int row,
                         const QStringList& answers = {"yes"})
{
    p.answer(answers);
    inDialog<frmRemove>(opener, [row](frmRemove& d) {
        if (row >= 0)
            d.lstRemove->setCurrentRow(row);
        keyTo(&d, Qt::Key_Return);
    });
}
