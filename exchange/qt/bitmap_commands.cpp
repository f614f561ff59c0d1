#include "exchange/qt/bitmap_commands.h"

#include <QFile>
#include <QFileDialog>

#include "exchange/bitmap_export.h"

namespace korvane {
namespace {

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

std::optional<QString> AskBitmapFileName(QWidget* owner) { return AskNamedBitmapFile(owner, QStringLiteral("Bitmaps")); }

std::optional<QString> AskNamedBitmapFile(QWidget* owner, const QString& filterName) {
  QFileDialog dialog(owner);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(filterName + QStringLiteral(" (*.bmp)"));
  dialog.setDefaultSuffix("bmp");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

bool RunSaveAsBitmapCommand(QWidget* owner, const ItemStore& store, ItemId id, MessageSink& messages,
                            const BitmapFileQuestion& ask) {
  // The image is drawn first, so a picture's sheet message comes before the dialog.
  const std::optional<Item> item = store.ReadItem(id);
  if (!item) return false;
  const std::optional<RgbImage> image = ItemBitmapImage(*item, messages);
  if (!image) return false;
  const std::optional<QString> path = ask(owner);
  if (!path) return false;
  return SaveImageAsBitmap(LocalPath(*path), *image, messages);
}

bool RunSaveScreenshotCommand(QWidget* owner, const RgbImage& viewImage, MessageSink& messages,
                              const BitmapFileQuestion& ask) {
  const RgbImage screen = ScreenshotImage(viewImage);
  const std::optional<QString> path = ask(owner);
  if (!path) return false;
  return SaveImageAsBitmap(LocalPath(*path), screen, messages);
}

}  // namespace korvane
