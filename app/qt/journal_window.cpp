#include "app/qt/journal_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include "app/journal_window_design.h"
#include "app/qt/design_font.h"
#include "app/qt/qt_form_window.h"

namespace ornet5 {

using namespace journal_design;

namespace {

QColor Colour(TChartInk ink, const QPalette& palette) {
    const std::optional<TRgb> colour = InkColour(ink);
    return colour ? QColor(colour->red, colour->green, colour->blue)
                  : palette.color(QPalette::WindowText);
}

}  // namespace

// The chart: the core's drawing, item by item, on a white ground.
class TJournalWindow::TChartPanel : public QWidget {
  public:
    explicit TChartPanel(TJournalWindow& window) : QWidget(&window), window_(window) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        // The core exists once the window is made, before any paint.
        if (window_.core_ == nullptr) {
            return;
        }
        const TChartDrawing& drawing = window_.core_->Drawing();
        for (const TChartRect& item : drawing.rects) {
            painter.fillRect(QtRect(item.rect), Colour(item.ink, palette()));
        }
        for (const TChartLine& line : drawing.lines) {
            painter.setPen(QPen(Colour(line.ink, palette()), 1,
                                line.ink == TChartInk::Threshold ? Qt::DashLine : Qt::SolidLine));
            painter.drawLine(line.x1, line.y1, line.x2, line.y2);
        }
        painter.setPen(Colour(TChartInk::Text, palette()));
        const QFontMetrics metrics(font());
        for (const TChartText& text : drawing.texts) {
            const QString label = QString::fromStdString(text.text);
            const int width = metrics.horizontalAdvance(label);
            const int left = text.align == TTextAlign::Left     ? text.x
                             : text.align == TTextAlign::Centre ? text.x - width / 2
                                                                : text.x - width;
            painter.drawText(left, text.y - metrics.height() / 2 + metrics.ascent(), label);
        }
    }

  private:
    TJournalWindow& window_;
};

TJournalWindow::TJournalWindow(const TJournalWindowServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("JournalWindow"));
    setWindowTitle(QString::fromUtf8(kCaption));
    setFont(DesignFont(kDefaultDesignFont));
    setFixedSize(QtSize(kClientSize));
    // Hiding this window must never end the program; the main window does.
    setAttribute(Qt::WA_QuitOnClose, false);
    BuildControls();
    formWindow_ = std::make_unique<TQtFormWindow>(*this, TBorderStyle::Single);
    TJournalWindowView& view = *this;
    core_ = std::make_unique<TJournalWindowCore>(view, *formWindow_, services);
}

TJournalWindow::~TJournalWindow() {
    core_->FormDestroy();
}

void TJournalWindow::BuildControls() {
    auto* periods = Place(new QGroupBox(QString::fromUtf8(kPeriodGroupCaption), this),
                          "GroupBoxPeriod", kPeriodGroup);
    for (std::size_t i = 0; i < kJournalPeriods.size(); ++i) {
        const TJournalPeriod period = kJournalPeriods[i];
        periodButtons_[i] =
            new QRadioButton(QString::fromUtf8(JournalPeriodCaption(period)), periods);
        periodButtons_[i]->setObjectName(QStringLiteral("rbPeriod%1").arg(i));
        periodButtons_[i]->setGeometry(QtRect(kPeriodButtons[i]));
        connect(periodButtons_[i], &QRadioButton::clicked, this,
                [this, period] { core_->PeriodClicked(period); });
    }
    chart_ = Place(new TChartPanel(*this), "PaintBoxChart", kChart);
    summary_ = Place(new QLabel(this), "LabelSummary", kSummary);
    summary_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    summary_->setTextFormat(Qt::PlainText);
    BuildAlarmGroup();
    openFolder_ = Place(new QPushButton(QString::fromUtf8(kOpenFolderCaption), this),
                        "BtnOpenFolder", kOpenFolder);
    connect(openFolder_, &QPushButton::clicked, this, [this] { core_->OpenFolderClicked(); });
}

void TJournalWindow::BuildAlarmGroup() {
    auto* group = Place(new QGroupBox(QString::fromUtf8(kAlarmGroupCaption), this), "GroupBoxAlarm",
                        kAlarmGroup);
    thresholdLabel_ = Place(new QLabel(group), "LabelThreshold", kThresholdLabel);
    threshold_ = Place(new QLineEdit(group), "LE_Threshold", kThreshold);
    apply_ = Place(new QPushButton(QString::fromUtf8(kThresholdButtonCaption), group),
                   "BtnThreshold", kThresholdButton);
    connect(apply_, &QPushButton::clicked, this, [this] { core_->ThresholdEntered(); });
    alarmOn_ =
        Place(new QCheckBox(QString::fromUtf8(kAlarmOnCaption), group), "cbAlarmOn", kAlarmOn);
    connect(alarmOn_, &QCheckBox::clicked, this, [this](bool on) { core_->AlarmClicked(on); });
    alarmSound_ = Place(new QCheckBox(QString::fromUtf8(kAlarmSoundCaption), group), "cbAlarmSound",
                        kAlarmSound);
    connect(alarmSound_, &QCheckBox::clicked, this, [this](bool on) { core_->SoundClicked(on); });
    alarmState_ = Place(new QLabel(group), "LabelAlarmState", kAlarmState);
    alarmState_->setTextFormat(Qt::PlainText);
}

void TJournalWindow::ShowAndRaise() {
    show();
    raise();
    activateWindow();
}

void TJournalWindow::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        core_->FormShow();
    }
    QWidget::showEvent(event);
}

void TJournalWindow::closeEvent(QCloseEvent* event) {
    event->setAccepted(core_->FormCloseQuery());
}

// Enter reaches the window from whichever control has the focus: none of
// them takes it (push buttons press on Enter only in a dialog).
void TJournalWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    const QWidget* focus = focusWidget();
    core_->EnterPressed(focus == threshold_    ? TJournalControl::ThresholdField
                        : focus == apply_      ? TJournalControl::ThresholdButton
                        : focus == openFolder_ ? TJournalControl::OpenFolderButton
                                               : TJournalControl::Other);
}

void TJournalWindow::ShowPeriod(TJournalPeriod period) {
    for (std::size_t i = 0; i < kJournalPeriods.size(); ++i) {
        periodButtons_[i]->setChecked(kJournalPeriods[i] == period);
    }
}

void TJournalWindow::ShowChart() {
    chart_->update();
}

void TJournalWindow::ShowSummary(const std::string& text) {
    summary_->setText(QString::fromStdString(text));
}

void TJournalWindow::ShowThresholdLabel(const std::string& text) {
    thresholdLabel_->setText(QString::fromStdString(text));
}

std::string TJournalWindow::ThresholdText() const {
    return threshold_->text().toStdString();
}

void TJournalWindow::ShowThresholdText(const std::string& text) {
    threshold_->setText(QString::fromStdString(text));
}

void TJournalWindow::ShowAlarmChecks(bool enabled, bool sound) {
    alarmOn_->setChecked(enabled);
    alarmSound_->setChecked(sound);
}

void TJournalWindow::ShowAlarmState(const std::string& text) {
    alarmState_->setText(QString::fromStdString(text));
}

}  // namespace ornet5
