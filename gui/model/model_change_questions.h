// The questions of a model change, asked with message boxes.
#pragma once

#include "model/new_data.h"

#include <QString>

namespace vrl::gui {

class AppContext;

class MessageBoxModelQuestions : public ModelChangeQuestions {
  public:
    explicit MessageBoxModelQuestions(AppContext& ctx) : ctx_(ctx) {}
    // Class 1 text 22, class 2 text 23, class 3 both on two lines.
    bool confirmChange(int changeClass) override;
    // "<170> <new + 1> <171> <old> <172>."
    bool confirmTrunkingGroupReduction(int newCount, int oldCount) override;

    static QString changeText(AppContext& ctx, int changeClass);
    static QString reductionText(AppContext& ctx, int newCount, int oldCount);

  private:
    AppContext& ctx_;
};

} // namespace vrl::gui
