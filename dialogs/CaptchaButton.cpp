#include "CaptchaButton.h"

#include <algorithm>
#include <cstdint>

#include "DialogRandom.h"

namespace {

// The characters of a UTF-8 text, one entry per character (a stray continuation byte stands alone).
std::vector<std::string> characters(const std::string& text) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t n = 1;
    while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
    out.push_back(text.substr(i, n));
    i += n;
  }
  return out;
}

const graphics::Color& noiseColor(int n) {
  static const graphics::Color kColors[] = {graphics::Color::greenColor(),  graphics::Color::redColor(),
                                            graphics::Color::blueColor(),   graphics::Color::cyanColor(),
                                            graphics::Color::yellowColor(), graphics::Color::magentaColor(),
                                            graphics::Color::orangeColor(), graphics::Color::purpleColor(),
                                            graphics::Color::brownColor(),  graphics::Color::blackColor()};
  return kColors[std::clamp(n, 0, 9)];
}

}  // namespace

int CaptchaButton::getRandomNumBetween(int a, int b) {
  // The drawing goes on with the lower bound when the random source fails: noise placement guards no
  // secret, and the verification code itself is never made from a failed draw.
  const std::int64_t r = drawRandom32().value_or(0);
  const std::int64_t low = std::min(a, b), high = std::max(a, b);
  return static_cast<int>(low + r % (high - low + 1));
}

double CaptchaButton::getWidth() const {
  return std::max(frame().width() - 2.0 * frameWidth, static_cast<double>(frameWidth) + 1);
}

double CaptchaButton::getHeight() const {
  return std::max(frame().height() - 2.0 * frameWidth, static_cast<double>(frameWidth) + 1);
}

graphics::Point CaptchaButton::getRandomPoint() const {
  return graphics::Point{static_cast<double>(getRandomNumBetween(frameWidth, static_cast<int>(getWidth()))),
                         static_cast<double>(getRandomNumBetween(frameWidth, static_cast<int>(getHeight())))};
}

graphics::Point CaptchaButton::getNearRandomPoint(graphics::Point p) const {
  return graphics::Point{p.x + getRandomNumBetween(0, static_cast<int>(0.25 * getWidth())),
                         static_cast<double>(getRandomNumBetween(frameWidth, static_cast<int>(getHeight())))};
}

graphics::Point CaptchaButton::getCloseRandomPoint(graphics::Point p) const {
  return graphics::Point{p.x + getRandomNumBetween(0, static_cast<int>(0.125 * getWidth())),
                         static_cast<double>(getRandomNumBetween(frameWidth, static_cast<int>(getHeight())))};
}

void CaptchaButton::setColor() const { noiseColor(getRandomNumBetween(0, 9)).set(); }

namespace {

void strokeLine(graphics::Point from, graphics::Point to) {
  graphics::BezierPath path;
  path.setLineWidth(CaptchaButton::getRandomNumBetween(1, 1));
  path.moveToPoint(from);
  path.lineToPoint(to);
  path.stroke();
}

void strokeCurve(graphics::Point from, graphics::Point to, graphics::Point control1, graphics::Point control2) {
  graphics::BezierPath path;
  path.setLineWidth(CaptchaButton::getRandomNumBetween(1, 1));
  path.moveToPoint(from);
  path.curveToPoint(to, control1, control2);
  path.stroke();
}

}  // namespace

void CaptchaButton::drawStraightLine() const {
  setColor();
  graphics::Point start = getRandomPoint();
  strokeLine(start, getRandomPoint());
}

void CaptchaButton::drawCurveLine() const {
  setColor();
  graphics::Point start = getRandomPoint();
  graphics::Point end = getRandomPoint();
  graphics::Point control1 = getRandomPoint();
  graphics::Point control2 = getRandomPoint();
  strokeCurve(start, end, control1, control2);
}

void CaptchaButton::drawQuaterStraightLine() const {
  setColor();
  graphics::Point start = getRandomPoint();
  getCloseRandomPoint(start);  // drawn and dropped, as the stroke always did
  strokeLine(start, getCloseRandomPoint(start));
}

void CaptchaButton::drawQuaterCurveLine() const {
  setColor();
  graphics::Point start = getRandomPoint();
  graphics::Point end = getNearRandomPoint(start);
  graphics::Point control1 = getRandomPoint();
  graphics::Point control2 = getRandomPoint();
  strokeCurve(start, end, control1, control2);
}

void CaptchaButton::drawShortStraightLine() const {
  setColor();
  graphics::Point start = getRandomPoint();
  strokeLine(start, getCloseRandomPoint(start));
}

void CaptchaButton::drawShortCurveLine() const {
  setColor();
  graphics::Point start = getRandomPoint();
  graphics::Point end = getCloseRandomPoint(start);
  graphics::Point control1 = getRandomPoint();
  graphics::Point control2 = getRandomPoint();
  strokeCurve(start, end, control1, control2);
}

void CaptchaButton::drawNoiseStroke(int kind) {
  switch (kind) {
    case 0:
      drawStraightLine();
      break;
    case 1:
      drawCurveLine();
      break;
    case 2:
      drawQuaterCurveLine();
      break;
    case 3:
      drawQuaterStraightLine();
      break;
    case 4:
    case 6:
      drawShortCurveLine();
      break;
    default:
      drawShortStraightLine();
      break;
  }
}

void CaptchaButton::drawCharacter(const std::string& character, graphics::Point topLeft, double fontSize) {
  graphics::TextStyle style;
  style.font = graphics::Font::named("Helvetica", fontSize);
  graphics::drawString(character, topLeft, style);
}

int CaptchaButton::noiseBudget(double width, double height, int characters, const RandomBetween& random) {
  int budget = static_cast<int>(width * height) / 1600;
  if (budget < characters) budget = characters >= 8 ? random(8, characters) : 8;
  return budget;
}

std::vector<int> CaptchaButton::strokeShares(int characters, int budget, const RandomBetween& random) {
  std::vector<int> shares;
  int used = 0;
  for (int i = 0; i < characters; ++i) {
    const int left = std::max(budget - used, 0);
    const int k = i == characters - 1 ? left : random(1, left / (characters - i));
    shares.push_back(k);
    used += k;
  }
  return shares;
}

void CaptchaButton::disPlayValue(const std::string& text) {
  gValue = text;
  const std::vector<std::string> chars = characters(text);
  const int n = static_cast<int>(chars.size());
  if (n == 0) return;
  const double W = frame().width(), H = frame().height();
  const int f = frameWidth;
  const int cell = static_cast<int>((W - 2 * f) / n);
  const int h = static_cast<int>(H - f);
  // Too small for a glyph: the background stays alone (no font of size 0 or less, no empty cell).
  if (cell < 1 || h - 8 < 1) return;
  const int jitterX = cell / 10, jitterY = h / 25;
  const int smallest = std::max(h - 12, 1), largest = h - 8;

  const RandomBetween random = &CaptchaButton::getRandomNumBetween;
  const std::vector<int> shares = strokeShares(n, noiseBudget(W, H, n, random), random);
  for (int i = 0; i < n; ++i) {
    const double x = i * cell + f + random(0, jitterX);
    const int rise = random(0, jitterY);
    const double size = random(smallest, largest);
    // The glyph sits on the bottom edge, raised by the jitter (the drawing's origin is its top-left).
    graphics::TextStyle style;
    style.font = graphics::Font::named("Helvetica", size);
    const double top = H - rise - graphics::sizeOfString(chars[i], style).height;
    const graphics::Point at{x, std::max(top, 0.0)};
    const int k = shares[i];
    if (k == 0) {
      drawCharacter(chars[i], at, size);
      continue;
    }
    const int drawnInPass = random(0, k - 1);
    for (int pass = 0; pass < k; ++pass) {
      if (pass == drawnInPass) drawCharacter(chars[i], at, size);
      drawNoiseStroke(random(0, 7));
    }
  }
}

void CaptchaButton::render(Style style) {
  if (isNil()) return;
  const graphics::Size size = frame().size;
  image = graphics::Image::withSize(size);
  image->lockFocus();
  {
    graphics::SavedState saved;
    const bool on = style == Style::Entry ? state() != 0 : state() == 1;
    const graphics::Rect whole = graphics::Rect::make(0, 0, size.width, size.height);
    (style == Style::Captcha || on ? graphics::Color::whiteColor() : graphics::Color::lightGrayColor()).set();
    graphics::rectFill(whole);
    if (style != Style::Captcha) {
      (on ? graphics::Color::redColor() : graphics::Color::lightGrayColor()).set();
      graphics::frameRectWithWidth(whole, frameWidth);
    }
    disPlayValue(gValue);
  }
  image->unlockFocus();
  layer()->setContents(image);
}

void CaptchaButton::SetValue(const std::string& text) {
  gValue = text;
  frameWidth = 2;
  render(Style::Entry);
}

void CaptchaButton::DigitalButtonMode(const std::string& text) {
  digitalButtonMode = true;
  SetValue(text);
  setState(1);
}

void CaptchaButton::CaptchaMode(const std::string& text) {
  gValue = text;
  render(Style::Captcha);
  setState(0);
  captChaMode = true;
}

void CaptchaButton::updateLayer() {
  frameWidth = 3;
  render(Style::Layer);
}

void CaptchaButton::mouseDown(const appkit::MouseEvent& event) {
  if (captChaMode) {
    setState(0);
    return;
  }
  if (isHidden() || !isEnabled()) return;
  performClick();
  setState(1);
}
