#pragma once
// The main window's "Save as bitmap..." (on a picture or screen image) and
// the Emulator menu's "Save Screenshot ...": the save-file dialog ("Bitmaps",
// *.bmp), then the 128 x 64 24-bit bitmap written.

#include <QString>
#include <functional>
#include <optional>

#include "settings/message_sink.h"
#include "storage/item_store.h"
#include "text/rgb_image.h"

class QWidget;

namespace korvane {

// The save-file dialog's filter name.
inline constexpr int STR_FILTER_BITMAPS = 179;

// Asks for the file to write; nullopt when the user cancels.
using BitmapFileQuestion = std::function<std::optional<QString>(QWidget* owner)>;

// The save-file dialog with the filter "Bitmaps" / "*.bmp" and default extension "bmp";
// `filterName` is the filter's translated name.
std::optional<QString> AskNamedBitmapFile(QWidget* owner, const QString& filterName);

// Command 40038. True when a file was written.
bool RunSaveAsBitmapCommand(QWidget* owner, const ItemStore& store, ItemId id, MessageSink& messages,
                            const BitmapFileQuestion& ask);

// Save Screenshot's question: the same dialog offering PNG beside the bitmap,
// the filters named in the language of `texts`; the filter chosen gives the
// default extension, the name's extension the format.
std::optional<QString> AskScreenshotFileName(QWidget* owner, const TextLookup& texts);

// Command 40058: the top-left 128 x 64 pixels of the view image, written as a
// PNG picture when the name ends in ".png", else as the 24-bit bitmap.
bool RunSaveScreenshotCommand(QWidget* owner, const RgbImage& viewImage, MessageSink& messages,
                              const BitmapFileQuestion& ask);

}  // namespace korvane
