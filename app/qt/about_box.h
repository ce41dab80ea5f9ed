#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace ornet5 {

class TBevelPanel;

// The about box: program name, version and the detector family, with the
// program's picture. Enter or the OK button closes it with the result OK,
// the title bar's close button with the result Cancel; Escape does nothing.
class TAboutBox : public QDialog {
    Q_OBJECT

  public:
    explicit TAboutBox(QWidget* parent = nullptr);

    TBevelPanel& Panel1() { return *panel1_; }
    QLabel& ProgramIcon() { return *programIcon_; }
    QLabel& ProductName() { return *productName_; }
    QLabel& Version() { return *version_; }
    QLabel& Comments() { return *comments_; }
    QPushButton& OKButton() { return *okButton_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildPanel();
    QLabel* AddLabel(const char* text, const QRect& geometry);

    TBevelPanel* panel1_ = nullptr;
    QLabel* programIcon_ = nullptr;
    QLabel* productName_ = nullptr;
    QLabel* version_ = nullptr;
    QLabel* comments_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

// Opens a fresh about box centred over the main window, runs it modally and
// destroys it when the run ends, also when it ends with an error.
void RunAboutBox(QWidget& mainWindow);

}  // namespace ornet5
