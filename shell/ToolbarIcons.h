#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The toolbar's 16 x 16 images, drawn so they look the same on every desktop:
// "New" a blank page, "Open" an opening folder, "Save" a floppy disk, "Copy"
// two pages, "Delete" a black cross, "Compare" bars side by side. Any other key
// gives a null icon.
QIcon toolbarIcon(const QString& key);

// The program's own icon (a calculator), the same images as the installed icon,
// for the main window and the about box.
QIcon programIcon();
