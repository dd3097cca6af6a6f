/* Ends the Windows session for Platterbook as Windows does at log-off:
 * WM_QUERYENDSESSION, then WM_ENDSESSION, to each of its shown windows. */
#include <windows.h>
#include <wchar.h>
static int found;
static BOOL CALLBACK end(HWND window, LPARAM unused)
{
    wchar_t title[256];
    (void)unused;
    if (IsWindowVisible(window) && GetWindowTextW(window, title, 256) &&
        wcsncmp(title, L"Platterbook", 11) == 0) {
        found = 1;
        SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    }
    return TRUE;
}
int main(void)
{
    EnumWindows(end, 0);
    return !found;
}
