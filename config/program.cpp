// Orv Configuration: one window that edits the commands and settings.
#include "main.h"

#include "config/resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    Application.Title = "Orvanta Configuration";
    try {
        MainForm.Create("TMainForm", "Orvanta Configuration", 425, 399,
                        LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN)));
        Application.Run(MainForm);
    } catch (const std::exception& error) {
        Application.ShowException(error);
    }
    return 0;
}
