// Up-down spinner.
#include "widgets/spinner.h"

#include <commctrl.h>

#include "widgets/editfield.h"

TSpinner::TSpinner(TWindowedElement* parent, const TBounds& bounds, TEditField& buddy, int minimum, int maximum)
    : TWindowedElement(parent), min_(minimum), max_(maximum)
{
    bounds_ = bounds;
    CreateStock(UPDOWN_CLASSA, "", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS);
    // Attaching narrows the field and moves the spinner; the layout keeps both where they are.
    const TBounds fieldBounds = buddy.Bounds();
    SendMessageA(handle_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy.Handle()), 0);
    SendMessageA(handle_, UDM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
    SendMessageA(handle_, UDM_SETPOS32, 0, minimum);
    const POINT origin = parent_->ScrollOrigin();
    SetWindowPos(buddy.Handle(), nullptr, origin.x + fieldBounds.Left, origin.y + fieldBounds.Top, fieldBounds.Width,
                 fieldBounds.Height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(handle_, nullptr, origin.x + bounds.Left, origin.y + bounds.Top, bounds.Width, bounds.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

int TSpinner::Position() const
{
    return static_cast<int>(SendMessageA(handle_, UDM_GETPOS32, 0, 0));
}

void TSpinner::SetPosition(int position)
{
    SendMessageA(handle_, UDM_SETPOS32, 0, position);
}
