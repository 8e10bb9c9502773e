// The picture at the left of the main dialog, drawn at run time.
#pragma once

#include <QPixmap>
#include <QSize>

namespace configapp {

// SetdeskPicture: a handheld under a shield on a blue ground, filling
// `size`; a null pixmap for an empty size.
QPixmap SetdeskPicture(QSize size);

}  // namespace configapp
