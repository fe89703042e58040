#include "platform/kit/SecureTextField.h"

#include "platform/kit/ViewClassOf.h"

namespace kz {

const ViewClass& SecureTextField::described() {
    static const ViewClass c = ViewClassOf<SecureTextField>("SecureTextField", &TextField::described()).done();
    return c;
}

}  // namespace kz
