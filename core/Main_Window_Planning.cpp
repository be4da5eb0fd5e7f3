#include "Main_Window_Planning.h"

namespace {
Main_Window_Planning no_window;
Main_Window_Planning* registered = nullptr;
} // namespace

Main_Window_Planning& Planning_Main_Window()
{
    return registered ? *registered : no_window;
}

void Register_Planning_Main_Window(Main_Window_Planning* window)
{
    registered = window;
}
