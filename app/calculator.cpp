#include "app/calculator.h"

#include <string>

#include "tax/brackets.h"
#include "tax/rounding.h"
#include "tax/text_convert.h"

namespace varnex {

void RunCalculator(Controls& controls) {
  const std::string typed = controls.Text(ControlId::编辑框_工资);
  const double amount = TextToNumber(typed);
  const double rounded = RoundAmount(amount, 2);
  double tax = 0;
  std::string prefix;
  if (controls.IsTicked(ControlId::选择框_年终奖)) {
    tax = RoundAmount(BonusTax(rounded), 2);
    prefix = "一次性年终奖：";
  } else {
    const double threshold = TextToNumber(controls.Text(ControlId::组合框_起征点));
    tax = RoundAmount(SalaryTax(rounded, threshold), 2);
    prefix = "薪酬：";
  }
  // The after-tax figure comes from the amount as typed, not the rounded one.
  const double after_tax = amount - tax;
  const std::string message =
      prefix + typed + ",个税：" + NumberToText(tax) + ",税后：" + NumberToText(after_tax);
  controls.SetPaneText(1, message);
  controls.SetPaneTooltip(1, message);
}

}  // namespace varnex
