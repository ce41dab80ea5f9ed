#pragma once

#include <QWidget>

#include "app/face_core.h"

class QAction;
class QMenu;

namespace ornet5 {

class TAccelLabel;
class TProgramEvents;

// The main window's Qt view: a heading and the dose rate in very large
// digits, always on top. A right click anywhere (the labels included), the
// context-menu key or Shift+F10 opens its popup menu, which leads to the
// connection settings window and the about box. Closing it ends the
// program.
class TFace : public QWidget, private TFaceView {
    Q_OBJECT

  public:
    explicit TFace(QWidget* parent = nullptr);

    // What happens on the first activation and the popup entries; it must
    // outlive this window or be reset to nullptr.
    void SetEvents(TProgramEvents* events) { events_ = events; }

    TFaceCore& Core() { return core_; }

    void actOptionsShowExecute();
    void FormActivate();
    void NAboutClick();

    QMenu& PopupMenu1() { return *popupMenu1_; }
    QAction& actOptionsShow() { return *actOptionsShow_; }
    TAccelLabel& LabelTitle() { return *labelTitle_; }
    TAccelLabel& LabelDose() { return *labelDose_; }

  protected:
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildWindow();
    void BuildMenu();
    void BuildLabels();
    void PopupAt(const QPoint& globalPos);

    void ShowTitleText(const std::string& text) override;
    void ShowDoseText(const std::string& text) override;
    // An old dose is drawn in the grey of text that does not apply now, and
    // screen readers call it unavailable; an alarm draws it red.
    void ShowDoseInk(TDoseInk ink) override;

    // Declared in the order of the window's components.
    QMenu* popupMenu1_ = nullptr;
    QAction* actOptionsShow_ = nullptr;
    QAction* n1_ = nullptr;
    TAccelLabel* labelTitle_ = nullptr;
    TAccelLabel* labelDose_ = nullptr;
    QAction* n2_ = nullptr;
    QAction* nAbout_ = nullptr;

    TFaceCore core_{*this};
    TProgramEvents* events_ = nullptr;
};

}  // namespace ornet5
