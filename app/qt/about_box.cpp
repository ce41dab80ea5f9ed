#include "app/qt/about_box.h"

#include <memory>

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "app/qt/bevel_panel.h"
#include "app/qt/design_font.h"
#include "app/qt/window_references.h"
#include "app/window_texts.h"

// The picture lives in this static library's resources, which the linker
// keeps only when something names them.
static void InitAboutResources() {
    Q_INIT_RESOURCE(app);
}

namespace ornet5 {
namespace {

constexpr QSize kClientSize{298, 213};
constexpr QRect kPanelRect{8, 8, 281, 161};
constexpr QRect kIconRect{8, 8, 121, 57};
constexpr QRect kProductNameRect{144, 16, 129, 13};
constexpr QRect kVersionRect{144, 40, 129, 13};
constexpr QPoint kCommentsTopLeft{8, 112};
constexpr int kCommentsWidth = 240;
constexpr QRect kOkButtonRect{111, 180, 75, 25};

// Clears AboutBox when the modal run ends, however it ends.
class TAboutBoxReference {
  public:
    explicit TAboutBoxReference(TAboutBox* box) { AboutBox = box; }
    ~TAboutBoxReference() { AboutBox = nullptr; }
    TAboutBoxReference(const TAboutBoxReference&) = delete;
    TAboutBoxReference& operator=(const TAboutBoxReference&) = delete;
};

}  // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QString::fromUtf8(window_text::kAboutCaption));
    setFixedSize(kClientSize);
    setFont(SansSerifFont(11));
    setSizeGripEnabled(false);
    BuildPanel();

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setGeometry(kOkButtonRect);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    okButton_->setFocus();
}

void TAboutBox::BuildPanel() {
    panel1_ = new TBevelPanel(this);
    panel1_->setGeometry(kPanelRect);

    programIcon_ = new QLabel(panel1_);
    programIcon_->setGeometry(kIconRect);
    programIcon_->setScaledContents(true);
    InitAboutResources();
    programIcon_->setPixmap(QPixmap(QStringLiteral(":/ornet5/about.gif")));

    productName_ = AddLabel(window_text::kProductName, kProductNameRect);
    version_ = AddLabel(window_text::kVersion, kVersionRect);

    comments_ = new QLabel(QString::fromUtf8(window_text::kComments), panel1_);
    comments_->setWordWrap(true);
    comments_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    comments_->setGeometry(
        QRect(kCommentsTopLeft, QSize(kCommentsWidth, comments_->heightForWidth(kCommentsWidth))));
}

QLabel* TAboutBox::AddLabel(const char* text, const QRect& geometry) {
    auto* label = new QLabel(QString::fromUtf8(text), panel1_);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
    // The box has no cancel button, so Escape closes nothing.
    if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QPoint CentredOver(const QRect& owner, const QSize& boxSize) {
    const int left = owner.left() + (owner.width() - boxSize.width()) / 2;
    const int top = owner.top() + (owner.height() - boxSize.height()) / 2;
    return {left < 0 ? 0 : left, top < 0 ? 0 : top};
}

void RunAboutBox(QWidget& mainWindow) {
    // The main window is its parent only so that the window system keeps the
    // box above that always-on-top window; the box is destroyed right here.
    auto box = std::make_unique<TAboutBox>(&mainWindow);
    TAboutBoxReference reference(box.get());
    // The box's frame is not known before it is shown; it gets the same
    // decoration as the main window.
    const QSize frame = mainWindow.frameGeometry().size() - mainWindow.size();
    box->move(CentredOver(mainWindow.frameGeometry(), box->size() + frame));
    box->exec();
}

}  // namespace ornet5
