/* Ends the Windows session for one window, as Windows does at log-off:
 * WM_QUERYENDSESSION, then WM_ENDSESSION.   endsession.exe "WINDOW TITLE" */
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    HWND window = argc > 1 ? FindWindowW(NULL, argv[1]) : NULL;
    if (!window)
        return 1;
    SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    return 0;
}
