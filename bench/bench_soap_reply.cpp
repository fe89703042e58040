// Parsing a 1 MiB SOAP reply into the reply's containers, against the floor:
// libxml2 parsing the same bytes.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <string>

#include "Common/WebService/PrintServiceSoap.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

const std::string& reply() {
    static const std::string text = [] {
        std::string s =
            "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:q=\"corvenix:quill\"><soap:Body>"
            "<GetJobResourceListResponse xmlns=\"corvenix:quill\"><resInfo d=\"0\">";
        for (int i = 0; s.size() < (1u << 20); ++i)
            s += "<item xsi:type=\"q:PropDict\" d=\"0\"><item key=\"JobRecListName\"><val>Form " + std::to_string(i) +
                 "</val></item><item key=\"JobRecListComment\"><val>comment</val></item>"
                 "<item key=\"JobRecListDateTimeValue\"><val>2026-01-02T03:04:05</val></item></item>";
        return s + "</resInfo><status>OK</status></GetJobResourceListResponse></soap:Body></soap:Envelope>";
    }();
    return text;
}

struct Sink : kzp::PrintServiceSoapResponseDelegate {
    std::size_t parts = 0;
    void operation(kzp::PrintServiceSoapOperation&, const kzp::PrintServiceSoapResponse& r) override {
        parts += r.bodyParts.size();
    }
};

void ParseReply(benchmark::State& state) {
    kzp::PrintServiceSoap binding("http://127.0.0.1:9");
    Sink sink;
    for (auto _ : state) {
        kzp::PrintServiceSoap_GetJobResourceList op(&binding, &sink, {});
        op.connectionDidReceiveData(reply());
        op.connectionDidFinishLoading();
    }
    benchmark::DoNotOptimize(sink.parts);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * reply().size()));
}

void LibxmlParseOnly(benchmark::State& state) {
    for (auto _ : state) {
        xmlDocPtr doc = xmlReadMemory(reply().data(), static_cast<int>(reply().size()), nullptr, nullptr, XML_PARSE_NONET);
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * reply().size()));
}

}  // namespace

BENCHMARK(ParseReply)->Unit(benchmark::kMillisecond);
BENCHMARK(LibxmlParseOnly)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
