// The help and about viewer in the main window: text files from the program's folder shown
// line by line in ListBox1. Its state is Label4's caption: "Help topics" over the topic
// list, "About" over the about text, and empty over a topic's text.
#include <string>

#include "ui/mytime1.h"

namespace {

constexpr char kTopics[] = "Help topics";

} // namespace

void TForm1::BindViewerEvents()
{
    Help2->OnClick = [this](void* sender) { Help2Click(sender); };
    About1->OnClick = [this](void* sender) { About1Click(sender); };
    ListBox1->OnDblClick = [this](void* sender) { ListBox1DblClick(sender); };
    Button4->OnClick = [this](void* sender) { Button4Click(sender); };
}

void TForm1::OpenViewer(const char* title, const char* fileName)
{
    // The windows first: one the system refuses leaves the menus and the window as they were.
    ListBox1->WindowsNeeded();
    Button4->WindowsNeeded();
    File1->SetEnabled(false);
    Help1->SetEnabled(false);
    Button4->SetVisible(true);
    Label4->SetVisible(true);
    Label4->SetCaption(title);
    ListBox1->SetVisible(true);
    // A file that cannot be read leaves the viewer open over the lines it had.
    ListBox1->LoadFromFile(AppFolder + fileName);
}

void TForm1::Help2Click(void*)
{
    OpenViewer(kTopics, "help.txt");
}

void TForm1::About1Click(void*)
{
    OpenViewer("About", "about.txt");
}

// Only the topic list opens a topic: "About" is as short as a title gets to count.
void TForm1::ListBox1DblClick(void*)
{
    if (Label4->Caption().size() <= 5) return;
    Label4->SetCaption("");
    // Lines count from 1; with none selected the topic is 0.
    const int topic = ListBox1->ItemIndex() + 1;
    ListBox1->LoadFromFile(AppFolder + "help" + IntegerText(topic) + ".txt");
}

void TForm1::Button4Click(void*)
{
    if (Label4->Caption().empty()) {
        Label4->SetCaption(kTopics);
        ListBox1->LoadFromFile(AppFolder + "help.txt");
        return;
    }
    File1->SetEnabled(true);
    Help1->SetEnabled(true);
    Button4->SetVisible(false);
    Label4->SetVisible(false);
    ListBox1->SetVisible(false);
}
