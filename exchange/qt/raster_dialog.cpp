#include "exchange/qt/raster_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "emulator/qt/container_view.h"
#include "shell/qt/ok_cancel_buttons.h"

namespace korvane {
namespace {

QLabel* MakeImageView(QWidget* parent, const char* name, const RgbImage& image) {
  auto* view = new QLabel(parent);
  view->setObjectName(name);
  view->setFixedSize(image.Width(), image.Height());
  return view;
}

}  // namespace

RasterDialog::RasterDialog(QWidget* owner, const TextLookup& texts, const RgbImage& source)
    : QDialog(owner), source_(source) {
  const auto text = [&](int id) { return QString::fromLatin1(texts.Text(id)); };
  setWindowTitle(text(114));
  auto* group = new QGroupBox(text(115), this);
  image_ = new QRadioButton(text(110), group);
  image_->setObjectName("image");
  sharpText_ = new QRadioButton(text(111), group);
  sharpText_->setObjectName("sharpText");
  const RasterType suggested = SuggestedRaster(source);
  (suggested == RASTER_SHARP_TEXT ? sharpText_ : image_)->setChecked(true);
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(image_);
  groupLayout->addWidget(sharpText_);

  const RgbImage empty(128, 64, COLOUR_BACKGROUND);
  sourceView_ = MakeImageView(this, "source", empty);
  quantisedView_ = MakeImageView(this, "quantised", empty);
  const auto [ok, cancel] = MakeOkCancelButtons(this, texts);

  auto* grid = new QGridLayout(this);
  grid->addWidget(sourceView_, 0, 0);
  grid->addWidget(quantisedView_, 1, 0);
  grid->addWidget(group, 0, 1, 2, 1);
  grid->addWidget(ok, 0, 2, Qt::AlignTop);
  grid->addWidget(cancel, 1, 2, Qt::AlignTop);

  connect(image_, &QRadioButton::clicked, this, [this] { QuantizeAndShow(RASTER_IMAGE); });
  connect(sharpText_, &QRadioButton::clicked, this, [this] { QuantizeAndShow(RASTER_SHARP_TEXT); });
  sourceView_->setPixmap(QPixmap::fromImage(ToQImage(source_, 128, 64)));
  QuantizeAndShow(suggested);
}

void RasterDialog::QuantizeAndShow(RasterType raster) {
  raster_ = raster;
  quantised_ = QuantizeBitmap(source_, raster);
  quantisedView_->setPixmap(QPixmap::fromImage(ToQImage(quantised_, 128, 64)));
}

std::optional<RgbImage> DialogRasterChooser::ChooseRaster(const RgbImage& source) {
  RasterDialog dialog(owner_, texts_, source);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Quantised();
}

}  // namespace korvane
