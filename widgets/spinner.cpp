// Up-down spinner.
#include "widgets/spinner.h"

#include <commctrl.h>

#include <initializer_list>

#include "widgets/editfield.h"

TSpinner::TSpinner(TWindowedElement* parent, const TBounds& bounds, TEditField& buddy, int minimum, int maximum)
    : TWindowedElement(parent), FBuddy(buddy), FMin(minimum), FMax(maximum)
{
    FBounds = bounds;
}

void TSpinner::CreateHandle()
{
    // The field shows the position itself; no wrapping at either end.
    CreateStock(UPDOWN_CLASSA, "", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS);
    SendMessageA(FHandle, UDM_SETRANGE, 0, MAKELPARAM(FMax, FMin));
    SendMessageA(FHandle, UDM_SETPOS, 0, MAKELPARAM(0, 0));
    // Holding an arrow down always steps by one: the table keeps only its first entry.
    UDACCEL accel{};
    SendMessageA(FHandle, UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    accel.nInc = 1;
    SendMessageA(FHandle, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    // Attaching narrows the field and moves the spinner onto it; the layout keeps both where they are.
    SendMessageA(FHandle, UDM_SETBUDDY, reinterpret_cast<WPARAM>(FBuddy.HandleNeeded()), 0);
    for (const TWindowedElement* element : std::initializer_list<const TWindowedElement*>{&FBuddy, this}) {
        const TBounds placed = element->PlacedBounds();
        SetWindowPos(element->Handle(), nullptr, placed.Left, placed.Top, placed.Width, placed.Height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
