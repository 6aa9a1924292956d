#pragma once
// The dialogs of the favourites' local music commands: a folder to add, a
// playlist to import, a file to export to (native where the desktop offers
// them). Each returns an empty text when the user cancels.

#include <QString>

class QWidget;

namespace tavo {

QString ChooseMusicFolder(QWidget* owner);
QString ChoosePlaylistFile(QWidget* owner);
QString ChooseExportFile(QWidget* owner);

// The export file name with the extension of the chosen format added when
// it has neither ".m3u8" nor ".xspf" (a name typed without one).
QString WithPlaylistExtension(const QString& file, bool xspf);

}  // namespace tavo
