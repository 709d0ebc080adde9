#include "live/panel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QToolButton>
#include <cmath>

#include "live/live_screen.h"
#include "live/panel_layout.h"
#include "ui/icons.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

namespace halvane {

namespace {

double TwipsPerPixel(const QWidget& widget) {
  return 1440.0 / widget.logicalDpiX();
}

constexpr int kNoteMs = 30000;

// Beside "No Connection", outside the drawing area, which keeps the meter's screen as it is.
constexpr const char* kNoConnectionHint =
    "No meter answers. On Linux the udev rule gives you access to it (README, \"No "
    "Connection?\"); halvane --simulate tries the program without one.";

}  // namespace

Panel::Panel(USB& usb, const std::filesystem::path& temp_folder, QWidget* parent)
    : QMainWindow(parent),
      usb_(usb),
      temp_file_(temp_folder),
      canvas_(kPanelWidthUnits, kPanelHeightUnits) {
  setObjectName("Panel");
  setWindowTitle(ToQString(kPanelCaption));
  move(0, 0);

  view_ = new CanvasView(canvas_, this);
  view_->setObjectName("DrawingArea");
  setCentralWidget(view_);
  canvas_.SetTextMeasure(view_->MakeTextMeasure());
  connect(view_, &CanvasView::DoubleClicked, this, &Panel::ToggleCaption);

  CreateToolbar();
  lists_ = CreatePanelLists(view_);
  CreateStatusImages();
  CreateStatusLine();
  // A reason the user can mend goes on the status line, never into a box: searches run at every
  // poll while the meter is away.
  usb_.SetNameLabelSink([this](std::string_view caption) {
    lbl_name_->setText(ToQString(caption));
    ShowConnectionHint();
  });

  resize(OpeningSize(screen()->availableGeometry()));

  timer1_.setObjectName("Timer1");
  timer1_.setInterval(kPollIntervalMs);
  connect(&timer1_, &QTimer::timeout, this, &Panel::PollMeter);
  timer1_.start();
}

Panel::~Panel() {
  usb_.SetNameLabelSink({});
}

QSize Panel::OpeningSize(const QRect& available) const {
  const double twips_per_pixel = TwipsPerPixel(*this);
  const QSize legible(static_cast<int>(std::lround(kLegibleDrawingArea.width / twips_per_pixel)),
                      static_cast<int>(std::lround(kLegibleDrawingArea.height / twips_per_pixel)) +
                          toolbar_->sizeHint().height() + status_line_->sizeHint().height());
  return legible.boundedTo(available.marginsRemoved(kFrameAllowance).size());
}

void Panel::CreateToolbar() {
  toolbar_ = addToolBar("Toolbar1");
  toolbar_->setObjectName("Toolbar1");
  toolbar_->setMovable(false);
  toolbar_->setIconSize(QSize(32, 32));
  for (const ToolbarButton& button : kToolbarButtons) {
    QAction* action = toolbar_->addAction(ToolbarIcon(button.key), ToQString(button.text));
    action->setObjectName(ToQString(button.key));
    action->setToolTip(ToQString(button.text));
  }
  auto* spacer = new QWidget(toolbar_);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  toolbar_->addWidget(spacer);
  lbl_name_ = new QLabel(toolbar_);
  lbl_name_->setObjectName("LblName");
  toolbar_->addWidget(lbl_name_);
}

void Panel::CreateStatusImages() {
  auto make = [this](const char* name, StatusImage image, Point at) {
    auto* label = new QLabel(view_);
    label->setObjectName(name);
    label->setPixmap(StatusImagePixmap(image));
    label->adjustSize();
    label->hide();
    view_->Anchor(label, at);
    return label;
  };
  ima_rec_ = make("ImaRec", StatusImage::Record, {180, 7});
  ima_pause_ = make("ImaPause", StatusImage::Pause, {180, 7});
  ima_stop_ = make("ImaStop", StatusImage::Stop, {180, 7});
  ima_usb_ = make("ImaUsb", StatusImage::Usb, {200, 5.5});
}

void Panel::CreateStatusLine() {
  status_line_ = new QStatusBar(this);
  status_line_->setObjectName("StatusLine");
  status_line_->setSizeGripEnabled(false);
  lbl_hint_ = new QLabel(kNoConnectionHint, status_line_);
  lbl_hint_->setObjectName("LblNoConnectionReason");
  lbl_hint_->setWordWrap(true);
  lbl_hint_->hide();
  status_line_->addWidget(lbl_hint_, 1);
  setStatusBar(status_line_);
}

// While no meter answers, the status line says why when the system refused access to it, else
// where to look; the drawing area keeps "No Connection" alone.
void Panel::ShowConnectionHint() {
  const bool connected = usb_.MeterConnected();
  lbl_hint_->setText(usb_.AccessRefused() ? ToQString(kMeterAccessRefusedMessage)
                                          : QString(kNoConnectionHint));
  lbl_hint_->setVisible(!connected);
  lbl_name_->setToolTip(connected ? QString() : QString(kNoConnectionHint));
}

void Panel::ShowNote(const QString& note) {
  status_line_->showMessage(note, kNoteMs);
}

void Panel::PollMeter() {
  OutputReportBuffer& report = usb_.OutputReport();
  report[0] = 0x00;
  report[1] = kLivePollCommand;
  usb_.ExchangeReports();
  ShowConnectionHint();
  if (!usb_.MeterConnected()) {
    DrawNoConnection(canvas_);
  } else {
    reading_ = DecodeLiveReply(usb_.InputReportCopy());
    MirrorMeterState();
    DrawLiveScreen(canvas_, reading_);
  }
  view_->update();
  emit Polled(usb_.MeterConnected() ? &reading_ : nullptr);
}

// Puts the meter's state into the lists and images; setting a list's text runs no handler.
void Panel::MirrorMeterState() {
  lists_.ComboRecMode->setCurrentText(reading_.RecordManually ? "Manually" : "Automatically");
  lists_.ComboDevice->setCurrentText(reading_.StorageIsFlash ? "Flash Memory" : "SD Card");
  if (const auto trigger = TriggerDisplayFor(reading_.TriggerMode)) {
    lists_.ComboTrigger->setCurrentText(ToQString(trigger->entry));
  }
  ima_rec_->setVisible(reading_.Recording);
  ima_pause_->setVisible(reading_.Paused);
  ima_stop_->setVisible(reading_.Stopped);
  ima_usb_->setVisible(reading_.UsbActive);
}

bool Panel::RecordingImageShown() const {
  return !ima_rec_->isHidden() || !ima_stop_->isHidden() || !ima_pause_->isHidden();
}

void Panel::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  canvas_.Clear();
  const double twips_per_pixel = TwipsPerPixel(*this);
  const WindowSize twips{static_cast<int>(std::lround(width() * twips_per_pixel)),
                         static_cast<int>(std::lround(height() * twips_per_pixel))};
  const WindowSize wanted = ApplyMinimumSize(twips);
  if (wanted != twips) {
    resize(static_cast<int>(std::lround(wanted.width / twips_per_pixel)),
           static_cast<int>(std::lround(wanted.height / twips_per_pixel)));
  }
  PlaceListsUnderButtons();
}

void Panel::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  PlaceListsUnderButtons();
}

// Each drop-down list appears just under the toolbar button that opens it.
void Panel::PlaceListsUnderButtons() {
  auto place = [this](std::initializer_list<QWidget*> row, const char* key) {
    QAction* action = toolbar_->findChild<QAction*>(key);
    QWidget* button = action != nullptr ? toolbar_->widgetForAction(action) : nullptr;
    int x = button != nullptr ? button->mapTo(this, QPoint(0, 0)).x() : 0;
    for (QWidget* widget : row) {
      widget->adjustSize();
      widget->move(x, 0);
      x += widget->width();
    }
  };
  place({lists_.ComboRecMode}, "RecMode");
  place({lists_.ComboDevice}, "Storage");
  place({lists_.ComboTrigger}, "Trigger");
  place({lists_.ComboBkLight}, "BackLight");
  place({lists_.ComboMainSubAC, lists_.ComboFreq}, "AC");
  place({lists_.ComboMainSubFS, lists_.ComboTime}, "FS");
  place({lists_.ComboNoItem}, "Plot");
  place({lists_.ComboNo, lists_.SpinNo}, "Plot");
  place({lists_.ComboItem}, "Plot");
  place({lists_.ComboSets}, "SD");
  lists_.PicTriggerdB->move(lists_.ComboTrigger->x(), lists_.ComboTrigger->height());
}

void Panel::ToggleCaption() {
  setWindowTitle(ToQString(ToggleVersionCaption(windowTitle().toStdString())));
}

void Panel::closeEvent(QCloseEvent* event) {
  timer1_.stop();
  event->accept();
  QApplication::quit();
}

}  // namespace halvane
