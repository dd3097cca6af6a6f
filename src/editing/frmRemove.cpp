#include "editing/frmRemove.h"

#include "dialogs/ElidedLabel.h"
#include "dialogs/PictureButton.h"
#include "dialogs/frmMsgbox.h"
#include "store/Module1.h"

#include <QListWidget>

using catalogue::Track;

frmRemove::frmRemove(Module1& state, RemoveMode mode, QWidget* owner)
    : RoundedWindow(QStringLiteral("remove"), QSize(340, 200), 18, owner), m_state(state),
      m_job(mode)
{
    setObjectName(QStringLiteral("frmRemove"));
    setStyleSheet(dialogStyleSheet());
    lstRemove = new QListWidget(this);
    lstRemove->setGeometry(20, 20, 297, 121);
    ElidingDelegate::applyTo(lstRemove);
    lstRemove->setAccessibleName(QStringLiteral("Choices"));
    connect(lstRemove, &QListWidget::itemDoubleClicked, this, [this] { lstRemove_DblClick(); });

    auto button = [this](const char* art, int left, const char* name, int width = 81) {
        auto* b = new PictureButton(QString::fromLatin1(art), QSize(width, 26), this);
        b->move(left, 167);
        b->setAccessibleName(QString::fromLatin1(name));
        b->hide();
        return b;
    };
    picRemdisc = button("remdisc", 54, "Remove disc");
    picRemtrack = button("remtrack", 54, "Remove track");
    picEdit = button("edit", 54, "Edit");
    picShow = button("show", 54, "Show", 82);
    picCancel = button("cancel", 210, "Cancel");
    picClose = button("close", 210, "Close");
    picCancel->show();
    connect(picRemdisc, &PictureButton::MouseUp, this, &frmRemove::picRemdisc_MouseUp);
    connect(picRemtrack, &PictureButton::MouseUp, this, &frmRemove::picRemtrack_MouseUp);
    connect(picEdit, &PictureButton::MouseUp, this, &frmRemove::picEdit_MouseUp);
    connect(picShow, &PictureButton::MouseUp, this, &frmRemove::picShow_MouseUp);
    connect(picCancel, &PictureButton::MouseUp, this, &frmRemove::picCancel_MouseUp);
    connect(picClose, &PictureButton::MouseUp, this, &frmRemove::picClose_MouseUp);

    Form_Load();
}

QString frmRemove::hitLine(int k, const QString& text, const QString& disc)
{
    const int fillers = k <= 9 ? 10 : k <= 99 ? 8 : 6;
    return QString::number(k) + QString(fillers, u' ') + text + QString(10, u' ') + disc;
}

void frmRemove::Form_Load()
{
    lstRemove->clear();
    switch (m_job) {
    case RemoveMode::Disc:
        setWindowTitle(QStringLiteral("Remove Disc"));
        picRemdisc->show();
        setKeyButtons(picRemdisc, picCancel);
        for (int row = 0; row < m_state.DiscCount; ++row)
            lstRemove->addItem(m_state.Discs.at(row).name);
        break;
    case RemoveMode::Track:
        setWindowTitle(QStringLiteral("Remove Track"));
        picRemtrack->show();
        setKeyButtons(picRemtrack, picCancel);
        if (m_state.TrackCount == 0) {
            frmMsgbox::tell(m_state, parentWidget(), 4,
                            QStringLiteral("You must first load a disc"));
            break;
        }
        for (int row = 0; row < m_state.TrackCount; ++row)
            lstRemove->addItem(m_state.Tracks.at(row)[2]);
        break;
    case RemoveMode::Edit:
        setWindowTitle(QStringLiteral("Edit Track"));
        picEdit->show();
        setKeyButtons(picEdit, picCancel);
        for (int row = 0; row < m_state.TrackCount; ++row)
            lstRemove->addItem(m_state.Tracks.at(row)[2]);
        break;
    case RemoveMode::SearchResults:
        setWindowTitle(QStringLiteral("Search Results"));
        placeAtTwips(1000, 1000);
        picShow->show();
        picClose->show();
        setKeyButtons(picShow, picClose);
        picCancel->hide();
        for (int k = 1; k <= m_state.HitCount; ++k) {
            const int disc = int(m_state.SearchHits.at(k - 1)[0]) - 1;
            lstRemove->addItem(hitLine(
                k, m_state.SearchText,
                m_state.SearchHitDiscs.value(
                    k - 1, disc < m_state.DiscCount ? m_state.Discs.at(disc).name : QString())));
        }
        break;
    }
}

int frmRemove::chosen() const
{
    const int row = lstRemove->currentRow();
    return row >= 0 && lstRemove->currentItem()->isSelected() ? row : -1;
}

bool frmRemove::noneChosen()
{
    if (chosen() >= 0)
        return false;
    frmMsgbox::tell(m_state, parentWidget(), 1, QStringLiteral("You must choose from the list."));
    return true;
}

void frmRemove::leave()
{
    lstRemove->clear();
    accept();
}

void frmRemove::lstRemove_DblClick()
{
    switch (m_job) {
    case RemoveMode::Disc:
        cmdRemd();
        break;
    case RemoveMode::Track:
        cmdRemt();
        break;
    case RemoveMode::Edit:
        cmdEdit();
        break;
    case RemoveMode::SearchResults:
        cmdShow();
        break;
    }
}

void frmRemove::picRemdisc_MouseUp(int, int, float X, float Y)
{
    if (picRemdisc->release(X, Y))
        cmdRemd();
}

void frmRemove::picRemtrack_MouseUp(int, int, float X, float Y)
{
    if (picRemtrack->release(X, Y))
        cmdRemt();
}

void frmRemove::picEdit_MouseUp(int, int, float X, float Y)
{
    if (picEdit->release(X, Y))
        cmdEdit();
}

void frmRemove::picShow_MouseUp(int, int, float X, float Y)
{
    if (picShow->release(X, Y))
        cmdShow();
}

void frmRemove::picClose_MouseUp(int, int, float X, float Y)
{
    if (picClose->release(X, Y))
        cmdClose();
}

void frmRemove::picCancel_MouseUp(int, int, float X, float Y)
{
    if (!picCancel->release(X, Y))
        return;
    lstRemove->clear();
    reject(); // nothing was done
}

void frmRemove::cmdRemt()
{
    if (noneChosen())
        return;
    const int row = chosen();
    if (!frmMsgbox::askYes(m_state, parentWidget(), QStringLiteral("Are you really sure?")))
        return;
    frmMsgbox::report(m_state, parentWidget(), m_state.catalogue().removeTrack(row));
    leave();
}

void frmRemove::cmdRemd()
{
    if (noneChosen())
        return;
    const int row = chosen();
    if (!frmMsgbox::askYes(m_state, parentWidget(), QStringLiteral("Are you really sure?")))
        return;
    if (row >= m_state.DiscCount || m_state.Discs.at(row).name != lstRemove->item(row)->text())
        return;
    const Change change = m_state.catalogue().removeDisc(row);
    // A write that failed keeps the list, to try again.
    if (frmMsgbox::report(m_state, parentWidget(), change) || change.changedOutside)
        leave();
}

void frmRemove::cmdEdit()
{
    const int row = chosen();
    if (noneChosen())
        return;
    lstRemove->clear();
    accept();
    emit editRequested(row);
}

void frmRemove::cmdShow()
{
    if (noneChosen())
        return;
    const int k = chosen() + 1;
    const int disc = int(m_state.SearchHits.at(k - 1)[0]) - 1;
    if (disc >= m_state.DiscCount ||
        m_state.Discs.at(disc).name != m_state.SearchHitDiscs.value(k - 1)) {
        frmMsgbox::tell(m_state, parentWidget(), 1,
                        QStringLiteral("This hit is gone: its disc has left the catalogue."));
        return;
    }
    emit hitChosen(k);
}

void frmRemove::cmdClose()
{
    leave();
}
