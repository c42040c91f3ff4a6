#pragma once

class FormShell;

// The secondary windows the main window's commands open. Those whose content comes
// later open as their shells until then.
struct DeskWindows
{
    FormShell& orderForm;   // TForm2
    FormShell& carCard;     // TForm5
    FormShell& cityMap;     // TForm8
    FormShell& blackList;   // TForm10
    FormShell& maintenance; // TForm11
    FormShell& messages;    // TForm12
    FormShell& hotKeyHelp;  // TForm13
};
