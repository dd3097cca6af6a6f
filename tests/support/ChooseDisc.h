#pragma once

#include "main/frmMain.h"

#include <QComboBox>

// Chooses the disc in row of the main window's chooser, as the user does.
inline void chooseDisc(frmMain& main, int row)
{
    main.cmbDisc->setCurrentIndex(row);
    emit main.cmbDisc->activated(row);
}
