#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "appkit/Controls.h"
#include "graphics/Graphics.h"

// The drawn button of every keypad dialog, in three roles: a key of the on-screen keypad (its digit),
// an entry display (the typed digits, stars or blanks; white with a red border while it is the active
// field) and the verification-code image, which ignores clicks. The text is drawn into an image with
// random glyph positions and sizes among random noise strokes in random colours; the image becomes the
// button's layer contents.
//
// Every character of the text is drawn exactly once; the noise budget only limits the noise strokes. An
// empty text, or a button too small for a glyph, draws the background (and border) only.
class CaptchaButton : public appkit::Button {
 public:
  // An integer from the smaller to the larger of the two, both included.
  using RandomBetween = std::function<int(int a, int b)>;

  // Shows the text as an entry display, in the style of the current state.
  void SetValue(const std::string& text);
  // Becomes a keypad key showing the text (state 1).
  void DigitalButtonMode(const std::string& text);
  // Shows the text as a verification-code image (white, no border); state 0, and clicks are ignored.
  void CaptchaMode(const std::string& text);

  bool wantsUpdateLayer() const override { return true; }
  // Redraws the layer from the text kept: state 1 white with a red border, else light grey.
  void updateLayer() override;
  // A verification-code image stays at state 0 and sends nothing; other roles send their action and
  // are then at state 1.
  void mouseDown(const appkit::MouseEvent& event) override;
  // The text the button shows (what a person reads off it), for the scripted user.
  std::string displayedText() const override { return gValue; }

  // Draws the text with noise into the current drawing context, keeping a copy of it.
  void disPlayValue(const std::string& text);

  double getWidth() const;
  double getHeight() const;
  static int getRandomNumBetween(int a, int b);
  graphics::Point getRandomPoint() const;
  graphics::Point getNearRandomPoint(graphics::Point p) const;
  graphics::Point getCloseRandomPoint(graphics::Point p) const;
  void setColor() const;
  void drawStraightLine() const;
  void drawCurveLine() const;
  void drawQuaterStraightLine() const;
  void drawQuaterCurveLine() const;
  void drawShortStraightLine() const;
  void drawShortCurveLine() const;

  // The number of noise strokes for n characters on a button of that size: one per 1,600 square points,
  // and when that is below n, 8 (or, for eight or more characters, a random number from 8 to n).
  static int noiseBudget(double width, double height, int characters, const RandomBetween& random);
  // How many of the budget's strokes go with each character: each but the last a random share of what
  // is left (at least 1 while the share is 1 or more), the last whatever remains. At most
  // budget + characters - 1 strokes in all.
  static std::vector<int> strokeShares(int characters, int budget, const RandomBetween& random);

  bool isDigitalButton() const { return digitalButtonMode; }
  bool isCaptcha() const { return captChaMode; }
  const std::shared_ptr<graphics::Image>& drawnImage() const { return image; }
  int borderWidth() const { return frameWidth; }

 protected:
  // The two kinds of mark a drawing makes, apart so that a test can watch them.
  virtual void drawCharacter(const std::string& character, graphics::Point topLeft, double fontSize);
  virtual void drawNoiseStroke(int kind);

 private:
  enum class Style { Entry, Layer, Captcha };
  void render(Style style);

  std::shared_ptr<graphics::Image> image;
  std::string gValue;
  int frameWidth = 0;
  bool digitalButtonMode = false;
  bool captChaMode = false;
};
