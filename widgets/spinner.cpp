// Up-down spinner.
#include "widgets/spinner.h"

#include <commctrl.h>

#include "widgets/editfield.h"

TSpinner::TSpinner(TWindowedElement* parent, const TBounds& bounds, TEditField& buddy, int minimum, int maximum)
    : TWindowedElement(parent), buddy_(buddy), min_(minimum), max_(maximum)
{
    bounds_ = bounds;
}

void TSpinner::CreateHandle()
{
    // The field shows the position itself; no wrapping at either end.
    CreateStock(UPDOWN_CLASSA, "", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS);
    SendMessageA(handle_, UDM_SETRANGE, 0, MAKELPARAM(max_, min_));
    SendMessageA(handle_, UDM_SETPOS, 0, MAKELPARAM(0, 0));
    // Holding an arrow down always steps by one: the table keeps only its first entry.
    UDACCEL accel{};
    SendMessageA(handle_, UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    accel.nInc = 1;
    SendMessageA(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    // Attaching narrows the field and moves the spinner onto it; the layout keeps both where they are.
    SendMessageA(handle_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy_.HandleNeeded()), 0);
    const POINT origin = parent_->ScrollOrigin();
    const TBounds& field = buddy_.Bounds();
    SetWindowPos(buddy_.Handle(), nullptr, origin.x + field.Left, origin.y + field.Top, field.Width, field.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(handle_, nullptr, origin.x + bounds_.Left, origin.y + bounds_.Top, bounds_.Width, bounds_.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TSpinner::Notify(NMHDR*)
{
    return 0;
}
