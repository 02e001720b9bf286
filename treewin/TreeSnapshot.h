#pragma once
// Save Snapshot of a tree window (TreeSnapshot.cpp): its picture (TreeWindow::PictureBounds and DrawPicture)
// as a file, or while it shows roll-back results a roll-back file.

class FilePath;
class TreeWindow;

namespace SnapshotFiles {

// The form chosen ('m' metafile, 'b' bitmap, 'r' roll-back file, which only a rolled-back tree offers) with the
// path chosen for it, or 0 when cancelled.
char SaveSnapshot(TreeWindow& tree, bool rolledBack, FilePath& path);
// Command 1114: the snapshot in the chosen form; a failed save is reported.
void SaveSnapshotCommand(TreeWindow& tree);
// The picture at its natural size on a white screen-compatible bitmap, written as a .BMP file; false when the
// bitmap cannot be made or written.
bool SaveAsBitmap(TreeWindow& tree, const FilePath& path);
// The picture as a placeable metafile.
bool SaveAsMetafile(TreeWindow& tree, const FilePath& path);

} // namespace SnapshotFiles
