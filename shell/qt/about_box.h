#pragma once
// The About box: the program's picture with two link lines, the project page
// and the mail address. Modal from the Help menu; modeless as the start-up
// splash, which closes itself after 2 seconds.

#include <QDialog>
#include <QPixmap>
#include <QTimer>
#include <QUrl>
#include <functional>

#include "settings/text_lookup.h"
#include "shell/program_directory.h"

namespace korvane {

// The user guide goes with the program, with its data files; the README
// stands in for it when the guide page was not built.
inline constexpr const char* USER_GUIDE_FILE = "guide.html";
inline constexpr const char* ABOUT_README_FILE = "README.md";
inline constexpr const char* ABOUT_MAIL = "mailto:korvane@example.org";
inline constexpr int ABOUT_WIDTH = 300;
inline constexpr int ABOUT_HEIGHT = 200;
inline constexpr int SPLASH_MILLISECONDS = 2000;

class AboutBox : public QDialog {
  Q_OBJECT
 public:
  enum class Mode { Modal, Splash };
  // Where a point of the picture leads.
  enum class Spot { None, WebPage, Mail };
  using UrlOpener = std::function<void(const QUrl&)>;

  // `openUrl` defaults to the desktop's handler (browser, mail program); the
  // picture's texts come from `texts` (English without).
  AboutBox(QWidget* owner, Mode mode, UrlOpener openUrl = {}, const TextLookup* texts = nullptr);

  static Spot SpotAt(QPoint pixel);
  // The 300 x 200 picture, drawn by code.
  static QPixmap Picture(const TextLookup* texts = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void CloseAtTimer();

  QPixmap picture_;
  UrlOpener openUrl_;
  QTimer splashTimer_;
};

// The user guide, which the first link line and the Help menu (F1) open.
QUrl UserGuideUrl(const ProgramDirectory& directory = ProgramDirectory::FromEnvironment());

// The modal box from the Help menu.
void ShowAboutBox(QWidget* owner, const TextLookup* texts = nullptr);
// The modeless splash; it deletes itself when it closes.
AboutBox* ShowSplash(QWidget* owner, const TextLookup* texts = nullptr);

// String ids of the picture's texts: the description, "Version %s" and the user guide link.
inline constexpr int STR_ABOUT_DESCRIPTION = 173;
inline constexpr int STR_ABOUT_VERSION = 174;
inline constexpr int STR_ABOUT_README = 175;

}  // namespace korvane
