// The sound player element.
#include "sound/soundplayer.h"

TSoundPlayer::TSoundPlayer(TWindowedElement* parent, const TBounds& bounds) : TWindowedElement(parent)
{
    bounds_ = bounds;
    visible_ = false; // never shown: the clock drives it, the user does not
    const POINT origin = parent_->ScrollOrigin();
    CreateOwn(RegisterOwnClass("HoraletMediaPlayer", nullptr, GetSysColorBrush(COLOR_BTNFACE)), "",
              WS_CHILD | WS_CLIPSIBLINGS, 0, parent_->Handle(), nullptr,
              {origin.x + bounds.Left, origin.y + bounds.Top, bounds.Width, bounds.Height});
}
