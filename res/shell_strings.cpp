#include "shell_strings.h"

#include "resource_ids.h"

namespace {

struct StringEntry {
    int id;
    const char* text;
};

const StringEntry kStringTable[] = {
    {IDR_MAINFRAME, "Графическая библиотека для файлов кодогенерации, полученных с помощью модуля Lorvane2.X"},
    {AFX_IDS_APP_TITLE, "Project"},
    {AFX_IDS_IDLEMESSAGE, "Ready"},
    {ID_START, "Старт\nСтарт"},
    {ID_PAUSE, "Пауза\nПауза"},
    {ID_MULTISAMPLING_EXACT, "Точная доля площади каждого пикселя, без выборок (только процессор)"},
    {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
    {ID_NEXT_PANE, "Switch to the next window pane\nNext Pane"},
    {ID_PREV_PANE, "Switch back to the previous window pane\nPrevious Pane"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
};

}  // namespace

const char* ShellString(int id)
{
    for (const StringEntry& entry : kStringTable)
        if (entry.id == id)
            return entry.text;
    return "";
}

std::string CommandPrompt(int id)
{
    const std::string text = ShellString(id);
    return text.substr(0, text.find('\n'));
}

std::string CommandTooltip(int id)
{
    const std::string text = ShellString(id);
    const size_t newline = text.find('\n');
    return newline == std::string::npos ? std::string() : text.substr(newline + 1);
}
