#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Common/WebService/SoapBodyPart.h"

namespace ComTORVALEKZ2R4_Plugin {

struct SoapError {
    // What kept the reply from arriving, for the callers' logs and the
    // reasons the tool gives. BadReply: not XML, or XML that is no SOAP
    // envelope; CutOff: the connection ended before the reply did.
    enum class Kind { Transport, TimedOut, Refused, Authentication, BadReply, TooLarge, CutOff };
    std::string domain;
    int code = 0;
    std::string description;
    Kind kind = Kind::Transport;
};

// The outcome of one call: the parsed body parts in document order, or the
// error that kept them from arriving.
struct PrintServiceSoapResponse {
    std::vector<std::shared_ptr<SoapBodyPart>> headers;  // never filled
    std::vector<std::shared_ptr<SoapBodyPart>> bodyParts;
    std::optional<SoapError> error;
};

}  // namespace ComTORVALEKZ2R4_Plugin
