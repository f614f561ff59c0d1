#include "exchange/qt/bitmap_commands.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

#include "exchange/bitmap_export.h"
#include "settings/latin1.h"
#include "settings/qt/widget_text.h"

namespace korvane {
namespace {

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

bool IsPngName(const QString& path) { return path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive); }

// The PNG goes to a new file renamed over the old one when it is complete.
bool SaveImageAsPng(const QString& path, const RgbImage& image, MessageSink& messages) {
  QImage picture(image.Width(), image.Height(), QImage::Format_RGB888);
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const Rgb c = image.PixelOr(x, y, Rgb{});
      picture.setPixelColor(x, y, QColor(c.r, c.g, c.b));
    }
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG") && file.commit()) return true;
  messages.ShowMessage(OwnTextMessage(KorvaneText::PictureNotWritten, {Utf8ToLatin1(path.toStdString())}));
  return false;
}

}  // namespace

std::optional<QString> AskNamedBitmapFile(QWidget* owner, const QString& filterName) {
  QFileDialog dialog(owner);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(filterName + QStringLiteral(" (*.bmp)"));
  dialog.setDefaultSuffix("bmp");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

std::optional<QString> AskScreenshotFileName(QWidget* owner, const TextLookup& texts) {
  QFileDialog dialog(owner);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  const QString bitmaps = QString::fromLatin1(texts.Text(STR_FILTER_BITMAPS)) + QStringLiteral(" (*.bmp)");
  const QString png = WidgetText(texts, KorvaneText::ScreenshotPngFilter) + QStringLiteral(" (*.png)");
  dialog.setNameFilters({bitmaps, png});
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  // The filter chosen gives a name without an extension its own.
  QString path = dialog.selectedFiles().front();
  if (QFileInfo(path).suffix().isEmpty())
    path += dialog.selectedNameFilter() == png ? QStringLiteral(".png") : QStringLiteral(".bmp");
  return path;
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
  if (IsPngName(*path)) return SaveImageAsPng(*path, screen, messages);
  return SaveImageAsBitmap(LocalPath(*path), screen, messages);
}

}  // namespace korvane
