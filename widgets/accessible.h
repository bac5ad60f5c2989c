// What a screen reader is told: a container's client area with the labels it paints and the
// system's own objects of the windows inside it, some of those under a name of ours.
#pragma once

#include <windows.h>

class TLabel;
class TWindowedElement;

// The answer to WM_GETOBJECT for an element: a container's client object of ours, or the
// system's object of a window with a name of ours; 0 where the system answers by itself. A
// reader's request never fails loudly: without the libraries it needs, the system answers.
LRESULT AnswerReader(TWindowedElement& element, WPARAM wParam, LPARAM lParam);

// Tells readers that a label shows another caption: a name change of the label's child in the
// client object that offers it. Costs nothing when no reader listens.
void AnnounceCaption(const TLabel& label);

// A container goes: a reader may still hold its client object, which answers nothing from now on.
void ReleaseReaderObject(TWindowedElement& element);
