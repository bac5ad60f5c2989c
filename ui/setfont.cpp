// Set Font in the main window: the clock's font from the font chooser, capped at 24 points,
// and the window's width that follows from it.
#include "app/application.h"
#include "ui/mytime1.h"

void TForm1::BindFontEvents()
{
    PopupMenu1->Items()[0]->OnClick = [this](void* sender) { SetFont1Click(sender); };
    SetFont2->OnClick = [this](void* sender) { SetFont2Click(sender); };
}

void TForm1::SetFont1Click(void*)
{
    FontDialog1->Font = Timelabel1->Font();
    if (FontDialog1->Execute(Application->Handle())) Timelabel1->SetFont(FontDialog1->Font);
    // The width rule runs after a cancel too, on the font the clock kept.
    if (Timelabel1->Font().Size() < kClockFontCap) {
        UseNarrowLayout();
        return;
    }
    TFont capped = Timelabel1->Font();
    capped.SetSize(kClockFontCap);
    Timelabel1->SetFont(capped);
    UseWideLayout();
}

void TForm1::SetFont2Click(void* sender)
{
    SetFont1Click(sender);
}
