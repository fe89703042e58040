// The device address of a product queue: what the backend, the panel and
// the tool read from it, what `queue add` writes, and the old addresses that
// must keep naming the same server.
#include <gtest/gtest.h>

#include "platform/printing/PrintServerURI.h"

using kz::PrintServerURI;

namespace {

struct Parts {
    std::string host;
    int ippPort;
    std::string queue;
    int servicePort;
};

void expectParts(const std::string& uri, const Parts& p, bool productForm = true) {
    std::string error;
    auto parsed = PrintServerURI::parse(uri, &error);
    ASSERT_TRUE(parsed) << uri << ": " << error;
    EXPECT_EQ(parsed->host(), p.host) << uri;
    EXPECT_EQ(parsed->ippPort(), p.ippPort) << uri;
    EXPECT_EQ(parsed->queue(), p.queue) << uri;
    EXPECT_EQ(parsed->servicePort(), p.servicePort) << uri;
    EXPECT_EQ(parsed->isProductForm(), productForm) << uri;
}

TEST(PrintServerURI, ReadsTheProductFormWithItsDefaults) {
    expectParts("kzps://print.example/printers/KZPrintServer", {"print.example", 631, "KZPrintServer", 8888});
    expectParts("kzps://10.0.0.7:8631/printers/Front?service-port=9090", {"10.0.0.7", 8631, "Front", 9090});
    expectParts("kzps://[::1]/printers/Q", {"::1", 631, "Q", 8888});
    expectParts("kzps://[fe80::1%25eth0]:632/printers/Q?service-port=1", {"fe80::1%eth0", 632, "Q", 1});
    // CUPS writes a zone this way.
    expectParts("kzps://[v1.fe80::1+eth0]/printers/Q", {"fe80::1%eth0", 631, "Q", 8888});
}

TEST(PrintServerURI, OldAddressesKeepTheirServer) {
    expectParts("ipp://v1.a+b+c/printers/kz", {"a%b+c", 631, "kz", 8888}, false);
    expectParts("ipp://xv1.a+b/printers/kz", {"xv1.a+b", 631, "kz", 8888}, false);
    expectParts("ipp://v1.kzps-sample+8888/printers/KZPrintServer", {"kzps-sample%8888", 631, "KZPrintServer", 8888}, false);
    expectParts("ipp://server:8631/ipp/print", {"server", 8631, "KZPrintServer", 8888}, false);
    EXPECT_FALSE(PrintServerURI::parse("file:/dev/null"));
    EXPECT_FALSE(PrintServerURI::parse(""));
}

TEST(PrintServerURI, RefusesBrokenProductAddressesWithAReason) {
    for (const char* uri :
         {"kzps:/printers/Q", "kzps://host", "kzps://host/", "kzps://host/ipp/print", "kzps://host/printers/",
          "kzps://user@host/printers/Q", "kzps://host:0/printers/Q", "kzps://host:70000/printers/Q",
          "kzps://host/printers/Q?service-port=", "kzps://host/printers/Q?service-port=0",
          "kzps://host/printers/Q?service-port=65536", "kzps://host/printers/Q?service-port=+9",
          "kzps://host/printers/Q?service-port=9&service-port=9", "kzps://host/printers/Q?colour=1",
          "kzps://host/printers/Q?service-port=9&", "kzps://host/printers/a/b", "kzps://host/printers/a%20b",
          "kzps://host/printers/Q#x", "kzps://ho_st!/printers/Q", "kzps://[zz::1]/printers/Q"}) {
        std::string error;
        EXPECT_FALSE(PrintServerURI::parse(uri, &error)) << uri;
        EXPECT_FALSE(error.empty()) << uri;
    }
    std::string error;
    EXPECT_FALSE(PrintServerURI::parse("kzps://" + std::string(2000, 'a') + "/printers/Q", &error));
    EXPECT_NE(error.find("longer than 1023"), std::string::npos) << error;
    EXPECT_FALSE(PrintServerURI::parse(std::string("kzps://h\0st/printers/Q", 22), &error));
}

TEST(PrintServerURI, MakesWhatItReads) {
    struct Case {
        std::string server, queue;
        int servicePort;
        std::string text, ipp;
    };
    for (const Case& c : {
             Case{"print.example", "KZPrintServer", 8888, "kzps://print.example/printers/KZPrintServer",
                  "ipp://print.example:631/printers/KZPrintServer"},
             Case{"10.0.0.7:8631", "Front", 9090, "kzps://10.0.0.7:8631/printers/Front?service-port=9090",
                  "ipp://10.0.0.7:8631/printers/Front"},
             Case{"[::1]:632", "Q", 8888, "kzps://[::1]:632/printers/Q", "ipp://[::1]:632/printers/Q"},
             Case{"fe80::1%eth0", "Q", 8888, "kzps://[fe80::1%25eth0]/printers/Q", "ipp://[fe80::1%25eth0]:631/printers/Q"},
             Case{"[fe80::1%25eth0]", "Q", 8888, "kzps://[fe80::1%25eth0]/printers/Q", "ipp://[fe80::1%25eth0]:631/printers/Q"},
             Case{"h:631", "Q", 8888, "kzps://h/printers/Q", "ipp://h:631/printers/Q"},
         }) {
        std::string error;
        auto made = PrintServerURI::make(c.server, c.queue, c.servicePort, &error);
        ASSERT_TRUE(made) << c.server << ": " << error;
        EXPECT_EQ(made->text(), c.text);
        EXPECT_EQ(made->ippURI(), c.ipp);
        auto again = PrintServerURI::parse(made->text(), &error);
        ASSERT_TRUE(again) << made->text() << ": " << error;
        EXPECT_EQ(*again, *made);
        EXPECT_EQ(PrintServerURI::make(made->server(), c.queue, c.servicePort), made);
    }
    for (const char* server : {"", "[::1", "[::1]x", "[host]", "h:", "h:0", "h:x", "-h", "h x", "h/p", "h?"}) {
        std::string error;
        EXPECT_FALSE(PrintServerURI::make(server, "Q", 8888, &error)) << server;
        EXPECT_FALSE(error.empty()) << server;
    }
    EXPECT_FALSE(PrintServerURI::make("h", "", 8888));
    EXPECT_FALSE(PrintServerURI::make("h", "a/b", 8888));
    EXPECT_FALSE(PrintServerURI::make("h", std::string(128, 'q'), 8888));
    EXPECT_FALSE(PrintServerURI::make("h", "Q", 0));
    EXPECT_FALSE(PrintServerURI::make("h", "Q", 65536));
}

}  // namespace
