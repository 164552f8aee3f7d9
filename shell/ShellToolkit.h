// The toolkit of the whole program: the windows' toolkit and the main window's view.
#pragma once

#include "windows/Toolkit.h"

#include <memory>

class TForm1;
class TForm1View;

class ShellToolkit : public Toolkit
{
public:
    using Toolkit::createView;
    virtual std::unique_ptr<TForm1View> createView(TForm1& form) = 0;
};
