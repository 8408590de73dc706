#pragma once
// The in-process server's module: a static table of the classes it serves
// (kept next to each filter), the class factory, the count that
// DllCanUnloadNow asks and self-registration with the class key and the
// filter mapper. The exports (ovdsource.def) call into this file.
#include <windows.h>
#include <dshow.h>

namespace DsBase {

struct FactoryTemplate {
    const wchar_t* name;
    const CLSID* clsid;
    // A new object with one reference; outer is the aggregating object or null.
    HRESULT (*create)(IUnknown* outer, IUnknown** object);
    // What the filter mapper records (merit, pins and their types).
    const REGFILTER2* setup;
};

// Defined by the module's filter file.
extern const FactoryTemplate kFactoryTemplates[];
extern const int kFactoryTemplateCount;

// Writes (install) or removes the class keys and the filter registrations;
// the first failing result, else S_OK.
HRESULT RegisterModule(bool install);

}  // namespace DsBase
