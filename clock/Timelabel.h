// The clock label: a label that writes the current time of day into its caption twice a second.
#pragma once

#include <memory>
#include <optional>

#include "clock/periodictimer.h"
#include "clock/timetext.h"
#include "widgets/label.h"

class TTimelabel : public TLabel {
public:
    using TLabel::TLabel;

    // Starts the clock once the layout is read; a clock label made otherwise never ticks.
    void Loaded() override;
    // At each tick: the caption becomes the time text of now, repainted only when it changed.
    void UpdateTime(void* sender);
    // The time of day the caption shows, to the millisecond it was read; none before the first tick.
    std::optional<DateTime> ShownTime() const { return FShownTime; }

    std::unique_ptr<TPeriodicTimer> FTimer;

private:
    std::optional<DateTime> FShownTime;
};
