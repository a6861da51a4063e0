#include "core/finestra.h"

// Each step goes through text, as the values are kept: value / 255, rounded to thousandths,
// three decimals with a point.
namespace {
void toFraction(std::string& x) {
  x = fw::Str(fw::Val(x) / 255.0);
}
void toThousandths(std::string& x) {
  x = fw::Str(fw::Round(fw::Val(x) * 1000.0) / 1000.0);
}
void toThreeDecimals(std::string& x) {
  x = fw::Format(fw::Val(x), "#.000");
}
void toPoint(std::string& x) {
  x = fw::Replace(x, ",", ".");
}
}  // namespace

void Finestra::percentuale(std::string& value) {
  toFraction(value);
  toThousandths(value);
  toThreeDecimals(value);
  toPoint(value);
}

void Finestra::RGBpercentuale(std::string& red, std::string& green, std::string& blue) {
  for (auto step : {toFraction, toThousandths, toThreeDecimals, toPoint}) {
    step(red);
    step(green);
    step(blue);
  }
}
