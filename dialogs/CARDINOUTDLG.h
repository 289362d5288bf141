#pragma once

#include "DialogFrame.h"

class ZododovuRavuVODCtrl;

// Asks the customer to take the card out and put it back, watching the reader once a second through
// the controller it is given, for at most 60 seconds. Ends with 0 when the card came back, 9950 when
// the time ran out. It has no buttons: only its timer ends it.
class CARDINOUTDLG : public DialogFrame {
 public:
  static constexpr int kWaitForRemoval = 1;
  static constexpr int kWaitForInsertion = 2;
  static constexpr int kSeconds = 60;

  bool initWithWindow(std::unique_ptr<appkit::Window> window) override;
  void windowDidLoad() override;
  void updateTimer() override;

  void SetCardIO(int state);
  // The controller to poll: not owned; it must outlive the dialog's modal session.
  void Set_DuzivureZoroCtrl(ZododovuRavuVODCtrl* controller) { vennoralAPICtrl = controller; }
  void ShowCardIO_Text() {}

  int state() const { return nCardInOrOut; }

  appkit::Outlet<appkit::TextField> cardio_text{this, "cardio_text"};
  appkit::Outlet<appkit::ImageView> DIGPICView{this, "DIGPICView", appkit::OutletBase::Need::Optional};

 private:
  // Whether the polled reader holds a card right now (the last answer when the reader cannot be asked).
  bool cardPresent();
  void finish(int code);

  int nCardInOrOut = kWaitForRemoval;
  ZododovuRavuVODCtrl* vennoralAPICtrl = nullptr;
};
