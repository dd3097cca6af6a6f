#pragma once

#include "dialogs/PictureButton.h"
#include "editing/frmNewd.h"
#include "editing/frmNewt.h"
#include "editing/frmRemove.h"
#include "support/TestProgram.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <array>

// Types a name and a count into the new disc dialog and presses Save. The
// track window is open afterwards when the disc was made.
inline void newDisc(TestProgram& p, const QString& name, const QString& count)
{
    inDialog<frmNewd>(p.main().picNewd, [&](frmNewd& d) {
        d.txtDisc->setText(name);
        d.txtTracks->setText(count);
        click(d.picSave);
    });
}

// The track window's boxes in the order of a track's fields.
inline std::array<QLineEdit*, catalogue::FieldCount> boxes(frmNewt* e)
{
    return {e->txtLabel,  e->txtProducer,           e->txtTitle,   e->txtDate,
            e->txtLength, e->cmbFormat->lineEdit(), e->txtComments};
}

// What the track window's boxes hold.
inline catalogue::Track shown(frmNewt* entry)
{
    catalogue::Track track;
    for (int f = 0; f < catalogue::FieldCount; ++f)
        track[f] = boxes(entry)[f]->text();
    return track;
}

// Types a track into the open track window and stores it.
inline void typeTrack(frmNewt* entry, const catalogue::Track& track)
{
    for (int f = 0; f < catalogue::FieldCount; ++f)
        boxes(entry)[f]->setText(track[f]);
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
