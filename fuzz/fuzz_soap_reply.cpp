// Hostile SOAP replies through the operation's reply parsing, then through the
// rows the list facade would build from them.
#include <cstdint>
#include <string>

#include "Common/WebService/PrintServiceSoap.h"
#include "Common/WebService/SOAPFault.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

struct Sink : kzp::PrintServiceSoapResponseDelegate {
    std::size_t seen = 0;
    void operation(kzp::PrintServiceSoapOperation&, const kzp::PrintServiceSoapResponse& r) override {
        for (const auto& part : r.bodyParts) {
            if (auto* reply = dynamic_cast<const kzp::PrintServiceReply*>(part.get())) {
                for (const auto& [name, item] : reply->containers) seen += kzp::propItemValue(item).description().size();
            } else if (auto* fault = dynamic_cast<const kzp::SOAPFault*>(part.get())) {
                seen += fault->simpleFaultString().size();
            }
        }
    }
};

template <class Op>
void run(kzp::PrintServiceSoap& binding, Sink& sink, const std::string& bytes) {
    Op op(&binding, &sink, {});
    op.connectionDidReceiveData(bytes);
    op.connectionDidFinishLoading();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static kzp::PrintServiceSoap binding("http://127.0.0.1:9");
    Sink sink;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    run<kzp::PrintServiceSoap_getStackerInfoList>(binding, sink, bytes);
    run<kzp::PrintServiceSoap_getJobFolderList>(binding, sink, bytes);
    run<kzp::PrintServiceSoap_GetJobResourceList>(binding, sink, bytes);
    run<kzp::PrintServiceSoap_getFontList>(binding, sink, bytes);
    return 0;
}
