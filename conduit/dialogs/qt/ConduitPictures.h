// The conduit's pictures, drawn at run time: the two action bitmaps, the sync-time picture and the
// notice icon.
#pragma once

#include <QPixmap>
#include <QSize>

namespace conduit {

// ActionPicture: bitmap 104 (a handheld receiving an update) when `update`,
// else bitmap 106 (a handheld left alone); the ground is transparent, so the
// dialog's own face shows through where the old bitmaps had light grey.
QPixmap ActionPicture(bool update, QSize size);

// SyncPicture: bitmap 112 at the left of the sync-time dialog: a handheld
// under a shield on a blue ground, filling `size`.
QPixmap SyncPicture(QSize size);

// NoticeIcon: icon 103 of the notice: an exclamation mark in a yellow
// triangle on a transparent ground.
QPixmap NoticeIcon(QSize size);

}  // namespace conduit
