#include "app/qt/about_box.h"

#include <memory>

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "app/about_box_design.h"
#include "app/qt/bevel_panel.h"
#include "app/qt/design_font.h"
#include "app/qt/window_references.h"

// The picture lives in this static library's resources, which the linker
// keeps only when something names them.
static void InitAboutResources() {
    Q_INIT_RESOURCE(app);
}

namespace ornet5 {

using namespace about_design;

namespace {

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
    setWindowTitle(QString::fromUtf8(kCaption));
    setFixedSize(QtSize(kClientSize));
    setFont(DesignFont(kDefaultDesignFont));
    setSizeGripEnabled(false);
    BuildPanel();

    okButton_ = new QPushButton(QString::fromUtf8(kOkCaption), this);
    okButton_->setGeometry(QtRect(kOkButton));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    okButton_->setFocus();
}

void TAboutBox::BuildPanel() {
    panel1_ = new TBevelPanel(this);
    panel1_->setGeometry(QtRect(kPanel1));

    programIcon_ = new QLabel(panel1_);
    programIcon_->setGeometry(QtRect(kProgramIcon));
    programIcon_->setScaledContents(true);
    InitAboutResources();
    programIcon_->setPixmap(QPixmap(QStringLiteral(":/ornet5/about.gif")));

    productName_ = AddLabel(kProductNameText, QtRect(kProductName));
    version_ = AddLabel(kVersionText, QtRect(kVersion));

    comments_ = new QLabel(QString::fromUtf8(kCommentsText), panel1_);
    comments_->setWordWrap(true);
    comments_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // The height fits the wrapped text, as the design's does.
    const TLayoutRect& comments = kComments;
    comments_->setGeometry(comments.left, comments.top, comments.width,
                           comments_->heightForWidth(comments.width));
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

void RunAboutBox(QWidget& mainWindow) {
    // The main window is its parent only so that the window system keeps the
    // box above that always-on-top window; the box is destroyed right here.
    auto box = std::make_unique<TAboutBox>(&mainWindow);
    TAboutBoxReference reference(box.get());
    // The box's frame is not known before it is shown; it gets the same
    // decoration as the main window.
    const QSize frame = mainWindow.frameGeometry().size() - mainWindow.size();
    const QRect owner = mainWindow.frameGeometry();
    const QSize outer = box->size() + frame;
    const TLayoutPoint at = CentredOver({owner.left(), owner.top(), owner.width(), owner.height()},
                                        {outer.width(), outer.height()});
    box->move(at.x, at.y);
    box->exec();
}

}  // namespace ornet5
