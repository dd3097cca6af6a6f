#pragma once

#include "dialogs/PictureButton.h"
#include "editing/frmNewd.h"
#include "editing/frmNewt.h"
#include "editing/frmRemove.h"
#include "support/TestProgram.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <gtest/gtest.h>

// Opens the new disc dialog from the main window, types a name and a count
// and presses Save. The track window is open afterwards when the disc was made.
inline void newDisc(TestProgram& p, const QString& name, const QString& count)
{
    const auto wait = onNextModal([name, count](QWidget* modal) {
        auto* dialog = qobject_cast<frmNewd*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->txtDisc->setText(name);
        dialog->txtTracks->setText(count);
        click(dialog->picSave);
        if (dialog->isVisible()) // refused: leave as the user would
            click(dialog->picCancel);
    });
    click(p.main().picNewd);
}

// Types a track into the open track window and stores it.
inline void typeTrack(frmNewt* entry, const catalogue::Track& track)
{
    entry->txtLabel->setText(track[0]);
    entry->txtProducer->setText(track[1]);
    entry->txtTitle->setText(track[2]);
    entry->txtDate->setText(track[3]);
    entry->txtLength->setText(track[4]);
    entry->cmbFormat->setEditText(track[5]);
    entry->txtComments->setText(track[6]);
    click(entry->picSave);
}

// Runs a remove-dialog job: chooses line `row` and acts with the job's button.
inline void removeDialog(TestProgram& p, PictureButton* opener, int row, const QStringList& answers)
{
    p.answer(answers);
    const auto wait2 = onNextModal([row](QWidget* modal) {
        auto* dialog = qobject_cast<frmRemove*>(modal);
        ASSERT_NE(dialog, nullptr)
            << modal->metaObject()->className() << " " << modal->objectName().toStdString();
        if (row >= 0)
            dialog->lstRemove->setCurrentRow(row);
        keyTo(dialog, Qt::Key_Return);
        if (dialog->isVisible())
            keyTo(dialog, Qt::Key_Escape);
    });
    click(opener);
}
