#include "image/IdentificationTable.h"

namespace orbisk {

const IdentificationField* FindIdentificationField(Ctl control) {
    for (const auto& f : kIdentificationFields) {
        if (f.control == control) return &f;
    }
    return nullptr;
}

const char* IdentificationCaption(Ctl control) {
    const IdentificationField* f = FindIdentificationField(control);
    return f && f->caption ? f->caption : "";
}

KeyFilter KeyFilterOf(Ctl control) {
    const IdentificationField* f = FindIdentificationField(control);
    return f ? f->filter : KeyFilter::None;
}

int MaxTextLength(Ctl control) {
    const IdentificationField* f = FindIdentificationField(control);
    if (!f) return 0;
    return f->storedAs == StoredAs::Text ? f->width : f->typedDigits;
}

}  // namespace orbisk
