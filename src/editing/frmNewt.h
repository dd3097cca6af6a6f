#pragma once

#include "dialogs/Chrome.h"
#include "editing/AudioTags.h"
#include "store/CatalogueFiles.h"

#include <QStringList>

#include <array>
#include <functional>

class Module1;
class PictureButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;
struct Change;

// The track window: the seven fields of a track, typed for a new disc one
// track after another, for one added track, or to edit a chosen track.
class frmNewt : public RoundedWindow
{
    Q_OBJECT
public:
    enum class Mode { NewDisc, AddTrack, Edit };

    // editRow: the track of the shown disc that Edit changes.
    frmNewt(Module1& state, Mode mode, int editRow, QWidget* owner);
    ~frmNewt() override;

    Mode mode() const { return m_mode; }

    void picSave_MouseUp(int Button, int Shift, float X, float Y);
    void picCancel_MouseUp(int Button, int Shift, float X, float Y);
    void cmdtrackedit();
    // False when the format was refused.
    bool cmbFormat_LostFocus();
    void Timer1_Timer();
    void picFromFiles_MouseUp(int Button, int Shift, float X, float Y);
    // Fills the boxes from the first of these audio files; each Save of a new
    // disc's track fills them from the next.
    void takeFiles(const QStringList& chosen);
    // Asks for audio files; the desktop's file dialog by default.
    std::function<QStringList()> chooseAudioFiles;
    // The boxes in the order of a track's fields (the format box's text for
    // the format).
    std::array<QLineEdit*, 7> boxes() const;

    QLineEdit* txtLabel;
    QLineEdit* txtProducer;
    QLineEdit* txtTitle;
    QLineEdit* txtLength;
    QLineEdit* txtDate;
    QComboBox* cmbFormat;
    QLineEdit* txtComments;
    QCheckBox* chkSave;
    QLabel* lblSave;
    QLabel* lblTrack;
    QLabel* lblTrackno;
    std::array<QLabel*, 7> fieldLabels{};
    QTimer* Timer1;
    // Where the song typed is already: "Also on <disc>, track <n>".
    QLabel* lblAlso;
    // Asks the catalogue where the song typed is already, and says so.
    void cmdAlso();
    PictureButton* picSave;
    PictureButton* picCancel;
    PictureButton* picFromFiles;

private:
    void Form_Load();
    catalogue::Track typed() const;
    bool refusesText();
    void dropNewDisc();
    void finish();
    void fillFromNextFile();
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    Module1& m_state;
    const Mode m_mode;
    const int m_editRow;
    bool m_checkingFormat = false;
    QMetaObject::Connection m_focusWatch;
    QList<AudioTrack> m_files; // tracks from audio files waiting their turn
    QTimer* m_alsoPause;       // a pause in the typing of the artist or the title
};
