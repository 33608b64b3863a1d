#include "windows/tab_arrangement.h"

#include "document/skin_workspace.h"
#include "elements/image_button.h"

#include <array>

namespace zq {

namespace {

// One element's part of a tab switch: a visibility step, then a stacking step.
struct ArrangeStep {
    bool show;
    bool toFront;
};

// The order in which the six elements take their steps.
constexpr std::array<Element, 6> kArrangeOrder = {Element::LogPage, Element::FilPage, Element::ManPage,
                                                  Element::LogTab,  Element::FilTab,  Element::ManTab};
using Arrangement = std::array<ArrangeStep, 6>;

constexpr ArrangeStep kShowFront{true, true};
constexpr ArrangeStep kShowBack{true, false};
constexpr ArrangeStep kHideBack{false, false};

constexpr Arrangement kLogChosen = {kShowFront, kHideBack, kHideBack, kHideBack, kShowBack, kShowBack};
constexpr Arrangement kFilChosen = {kHideBack, kShowFront, kHideBack, kShowBack, kHideBack, kShowBack};
constexpr Arrangement kManChosen = {kHideBack, kHideBack, kShowFront, kShowBack, kShowBack, kHideBack};
constexpr Arrangement kTabsOnly = {kHideBack, kHideBack, kHideBack, kShowFront, kShowFront, kShowFront};

void arrange(const SkinWorkspace &workspace, const Arrangement &steps)
{
    for (size_t i = 0; i < kArrangeOrder.size(); ++i) {
        TImageButtonA *element = workspace.element(kArrangeOrder[i]);
        if (!element)
            continue;
        if (steps[i].show)
            element->ShowElement();
        else
            element->HideElement();
        if (steps[i].toFront)
            element->BringElementToFront();
        else
            element->SendElementToBack();
    }
}

} // namespace

void arrangeForTab(const SkinWorkspace &workspace, Element tab)
{
    switch (tab) {
    case Element::LogTab:
        arrange(workspace, kLogChosen);
        break;
    case Element::FilTab:
        arrange(workspace, kFilChosen);
        break;
    case Element::ManTab:
        arrange(workspace, kManChosen);
        break;
    default:
        break;
    }
}

void arrangeTabsOnly(const SkinWorkspace &workspace)
{
    arrange(workspace, kTabsOnly);
}

} // namespace zq
