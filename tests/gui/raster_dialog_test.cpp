#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "exchange/bitmap_picture.h"
#include "exchange/bitmap_scaling.h"
#include "exchange/qt/bitmap_commands.h"
#include "exchange/qt/raster_dialog.h"
#include "support/modal_dialog_helpers.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"

using namespace korvane;

namespace {

using test::NumberedTexts;
using test::WhenModalOpens;

// A black dot on grey, with a lighter grey pixel so that it is no two-colour
// picture: "Image" and "Sharp | Text" quantise it differently.
RgbImage DottedSource() {
  RgbImage source(PICTURE_WIDTH, PICTURE_HEIGHT, Rgb{128, 128, 128});
  source.SetPixel(127, 63, COLOUR_BLACK);
  source.SetPixel(0, 0, Rgb{140, 140, 140});
  return source;
}

QImage Shown(QWidget* dialog, const char* name) {
  auto* label = dialog->findChild<QLabel*>(name);
  if (label == nullptr) return {};
  return label->pixmap().toImage().convertToFormat(QImage::Format_RGB888);
}

QImage AsQImage(const RgbImage& image) {
  QImage out(image.Width(), image.Height(), QImage::Format_RGB888);
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const Rgb p = *image.Pixel(x, y);
      out.setPixel(x, y, qRgb(p.r, p.g, p.b));
    }
  return out;
}

}  // namespace

class RasterDialogTest : public QObject {
  Q_OBJECT
  NumberedTexts texts;

 private slots:
  // Black writing on white: dithering would only add noise, so the sharp mode is chosen.
  void aTwoColourBitmapOpensWithSharpText() {
    RgbImage source(128, 64, Rgb{255, 255, 255});
    for (int x = 10; x < 60; ++x) source.SetPixel(x, 30, Rgb{0, 0, 0});
    QCOMPARE(SuggestedRaster(source), RASTER_SHARP_TEXT);
    RasterDialog dialog(nullptr, texts, source);
    QVERIFY(dialog.findChild<QRadioButton*>("sharpText")->isChecked());
    QCOMPARE(dialog.Raster(), RASTER_SHARP_TEXT);
    QVERIFY(dialog.Quantised() == QuantizeBitmap(source, RASTER_SHARP_TEXT));
    source.SetPixel(0, 0, Rgb{255, 0, 0});  // a third colour makes it a picture
    QCOMPARE(SuggestedRaster(source), RASTER_IMAGE);
  }

  void opensWithImageAndRedrawsOnEveryChoice() {
    const RgbImage source = DottedSource();
    RasterDialog dialog(nullptr, texts, source);
    QCOMPARE(dialog.windowTitle(), QString("T114"));
    auto* image = dialog.findChild<QRadioButton*>("image");
    auto* sharp = dialog.findChild<QRadioButton*>("sharpText");
    QVERIFY(image && sharp);
    QCOMPARE(image->text(), QString("T110"));
    QCOMPARE(sharp->text(), QString("T111"));
    auto* group = dialog.findChild<QGroupBox*>();
    QVERIFY(group && group->title() == QString("T115"));
    QCOMPARE(dialog.findChild<QPushButton*>("ok")->text(), QString("T112"));
    QCOMPARE(dialog.findChild<QPushButton*>("cancel")->text(), QString("T113"));
    QVERIFY(image->isChecked());
    QCOMPARE(dialog.Raster(), RASTER_IMAGE);
    QCOMPARE(Shown(&dialog, "source"), AsQImage(source));
    QCOMPARE(Shown(&dialog, "quantised"), AsQImage(QuantizeBitmap(source, RASTER_IMAGE)));

    sharp->click();
    QCOMPARE(dialog.Raster(), RASTER_SHARP_TEXT);
    QVERIFY(dialog.Quantised() == QuantizeBitmap(source, RASTER_SHARP_TEXT));
    QCOMPARE(Shown(&dialog, "quantised"), AsQImage(dialog.Quantised()));
    QCOMPARE(dialog.Quantised().Pixel(127, 63), std::optional<Rgb>(COLOUR_GREEN));

    image->click();
    QCOMPARE(Shown(&dialog, "quantised"), AsQImage(QuantizeBitmap(source, RASTER_IMAGE)));
  }

  void okGivesTheChosenImageAndCancelNothing() {
    DialogRasterChooser chooser(nullptr, texts);
    WhenModalOpens([](QWidget* modal) {
      modal->findChild<QRadioButton*>("sharpText")->click();
      modal->findChild<QPushButton*>("ok")->click();
    });
    const auto chosen = chooser.ChooseRaster(DottedSource());
    QVERIFY(chosen);
    QVERIFY(*chosen == QuantizeBitmap(DottedSource(), RASTER_SHARP_TEXT));

    WhenModalOpens([](QWidget* modal) { modal->findChild<QPushButton*>("cancel")->click(); });
    QVERIFY(!chooser.ChooseRaster(DottedSource()));
  }

  void saveCommandsWriteWhatTheyAreGivenOrNothingOnCancel() {
    test::TempDir dir;
    test::RecordingMessageSink messages;
    ItemStore store(messages);
    QVERIFY(store.OpenStore(dir.File("storage.dat")));
    const PictureBlocks picture = BuildPictureBlocks(RgbImage(PICTURE_WIDTH, PICTURE_HEIGHT, COLOUR_ORANGE));
    const ItemId id = store.CreateItem("P", std::nullopt, ROOT_FOLDER_ID, picture.info, picture.data, ITEM_PICTURE);
    const QString path = QString::fromStdString(dir.File("p.bmp"));
    QVERIFY(RunSaveAsBitmapCommand(nullptr, store, id, messages, [&](QWidget*) { return std::optional(path); }));
    QCOMPARE(dir.ReadFile("p.bmp").size(), std::size_t{24630});
    QVERIFY(!RunSaveAsBitmapCommand(nullptr, store, id, messages, [](QWidget*) { return std::optional<QString>(); }));

    const QString shot = QString::fromStdString(dir.File("shot.bmp"));
    QVERIFY(RunSaveScreenshotCommand(nullptr, RgbImage(300, 300, COLOUR_BLUE), messages,
                                     [&](QWidget*) { return std::optional(shot); }));
    QCOMPARE(dir.ReadFile("shot.bmp").size(), std::size_t{24630});
    QVERIFY(messages.messages.empty());
  }
};

QTEST_MAIN(RasterDialogTest)
#include "raster_dialog_test.moc"
