// Child-element text, formatted numbers and buffers parsed with normalised line ends.
#include "services/xml/nesting_depth.h"
#include "services/xml/xml_additions.h"

#include "tests/support/comma_locale.h"
#include "tests/support/temp_folder.h"

#include <vector>

#include <gtest/gtest.h>

#include <string>

namespace {

TiXmlDocument parsed(std::string text) {
    TiXmlDocument document;
    EXPECT_TRUE(LoadFromBuffer(document, text.data()));
    return document;
}

TEST(XmlChildElement, ReadsTheLeadingNumberOfTheText) {
    TiXmlDocument document = parsed("<r><n>12abc</n><x> -2.5e1z</x><empty/><bad>abc</bad><el><a/></el></r>");
    const TiXmlElement* root = document.RootElement();
    int n = 7;
    EXPECT_NE(GetChildElement(*root, "n", n), nullptr);
    EXPECT_EQ(n, 12);
    double x = 0;
    EXPECT_NE(GetChildElement(*root, "x", x), nullptr);
    EXPECT_EQ(x, -25.0);
    n = 7;
    EXPECT_NE(GetChildElement(*root, "empty", n), nullptr) << "the element is answered without text";
    EXPECT_EQ(n, 7) << "and the value is left as it was";
    EXPECT_NE(GetChildElement(*root, "el", n), nullptr);
    EXPECT_EQ(n, 7) << "a leading element is not text";
    EXPECT_NE(GetChildElement(*root, "bad", n), nullptr);
    EXPECT_EQ(n, 0) << "text without a number reads as 0";
    EXPECT_EQ(GetChildElement(*root, "missing", n), nullptr);
    EXPECT_EQ(GetChildElement(*root, nullptr), nullptr);
}

TEST(XmlChildElement, CreatesThenReplacesTheTextInPlace) {
    TiXmlDocument document = parsed("<r><held><sub/></held></r>");
    TiXmlElement* root = document.RootElement();
    TiXmlText* created = UpdateChildElement(*root, "name", "first");
    ASSERT_NE(created, nullptr);
    TiXmlText* replaced = UpdateChildElement(*root, "name", "second");
    EXPECT_EQ(replaced, created) << "the same text node takes the new text";
    EXPECT_STREQ(root->FirstChildElement("name")->GetText(), "second");
    EXPECT_EQ(root->FirstChildElement("name")->NextSiblingElement("name"), nullptr);

    TiXmlText* appended = UpdateChildElement(*root, "held", 42);
    ASSERT_NE(appended, nullptr);
    EXPECT_EQ(root->FirstChildElement("held")->LastChild(), appended) << "appended after the element child";
    EXPECT_STREQ(appended->Value(), "42");
    EXPECT_EQ(UpdateChildElement(*root, "name", static_cast<const char*>(nullptr)), nullptr);
}

TEST(XmlChildElement, FormatsRealsWithoutTheLocale) {
    testing_support::TempFolder folder;
    ASSERT_TRUE(testing_support::useCommaLocale(folder.path()));
    TiXmlElement element("e");
    const TiXmlText* text = UpdateChildElement(element, "v", "%.3f", 2.0);
    SetAttribute(element, "a", "%.1f", -0.5);
    SetAttribute(element, "a", "%g", 1.25);
    testing_support::restoreCLocale();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text->Value(), "2.000");
    EXPECT_STREQ(element.Attribute("a"), "1.25") << "the attribute is found and replaced";

    TiXmlDocument document = parsed("<r><v>2.5</v></r>");
    ASSERT_TRUE(testing_support::useCommaLocale(folder.path()));
    double v = 0;
    GetChildElement(*document.RootElement(), "v", v);
    testing_support::restoreCLocale();
    EXPECT_EQ(v, 2.5);
}

TEST(XmlLoadFromBuffer, ParsesCrLfAsLf) {
    std::string crlf = "<r>\r\n<a>x\r\ny\rz</a>\r\n</r>\r\n";
    std::string lf = "<r>\n<a>x\ny\nz</a>\n</r>\n";
    TiXmlDocument fromCrlf, fromLf;
    ASSERT_TRUE(LoadFromBuffer(fromCrlf, crlf.data()));
    ASSERT_TRUE(LoadFromBuffer(fromLf, lf.data()));
    EXPECT_STREQ(crlf.c_str(), lf.c_str()) << "the buffer is rewritten in place";
    TiXmlPrinter a, b;
    fromCrlf.Accept(&a);
    fromLf.Accept(&b);
    EXPECT_EQ(a.Str(), b.Str());
    EXPECT_STREQ(fromCrlf.RootElement()->FirstChildElement("a")->GetText(), "x y z")
        << "white space condensed";
}

TEST(XmlLoadFromBuffer, MalformedBuffersAnswerFalse) {
    for (std::string text : {"", "<a>", "<a></b>", "<a x=\"1/>", "\r\r", "<a><!-- </a>"}) {
        TiXmlDocument document;
        EXPECT_FALSE(LoadFromBuffer(document, text.data())) << text;
    }
    TiXmlDocument document;
    EXPECT_FALSE(LoadFromBuffer(document, nullptr));
}

TEST(XmlLoadFromBuffer, ATextCutInsideAUtf8SequenceIsNotReadBeyondItsEnd) {
    // A four-byte lead byte just before the zero, then what the caller's memory holds after the text: an
    // entity's "&" at the very end of the allocation, where a step over the whole sequence would land and
    // the entity's name would be compared beyond the allocation.
    for (std::string text : {"<a>x\xf0", "<?xml version=\"1.0\"?><a>\xf0"}) {
        std::vector<char> buffer(text.begin(), text.end());
        for (char after : {'\0', '-', '-', '&'})
            buffer.push_back(after);
        buffer.shrink_to_fit();
        TiXmlDocument document;
        EXPECT_FALSE(LoadFromBuffer(document, buffer.data(), TIXML_ENCODING_UTF8)) << text;
    }
}

TEST(XmlLoadFromBuffer, OnlyAWellFormedDeclarationFirstIsTaken) {
    for (std::string text : {"<?xml version=\"1.0\" ?><a/>", "\xef\xbb\xbf\n<?xml version='1.10'?><a/>",
                             "<?xml version = \"1.0\" encoding='windows-1252' standalone=\"yes\"?><a/>"}) {
        TiXmlDocument document;
        EXPECT_TRUE(LoadFromBuffer(document, text.data())) << text;
        TiXmlPrinter printer;
        document.Accept(&printer);
        std::string printed = printer.Str();
        TiXmlDocument again;
        EXPECT_TRUE(LoadFromBuffer(again, printed.data())) << printed;
    }
    // A malformed declaration is read up to the next ">", the start tag after it taken in.
    for (std::string text :
         {"<?xmlre vsion=\"1.0\"?[\n<r><s>1</s></r>", "<?xml=ntl=nt><a/>", "<?xml version=\"1.0\" <a/>",
          "<?xml version=\"2.0\"?><a/>", "<?xml version=\"1.0\" encoding=\"\"?><a/>",
          "<?xml version='1.0' standalone='0'?><a/>", "<?xml version=\"1.0\"encoding=\"x\"?><a/>",
          "<?XML version=\"1.0\"?><a/>", "<a/><?xml version=\"1.0\"?>",
          "<?xml version=\"1.0\"?><a><?xml version=\"1.0\"?></a>"}) {
        TiXmlDocument document;
        EXPECT_FALSE(LoadFromBuffer(document, text.data())) << text;
        EXPECT_EQ(document.ErrorId(), TiXmlBase::TIXML_ERROR_PARSING_DECLARATION) << text;
        EXPECT_EQ(document.FirstChild(), nullptr) << text;
    }
}

TEST(XmlLoadFromBuffer, TextThatIsNotUtf8KeepsItsBytes) {
    // A Windows-1252 accent before a quote or a "<", under a declaration that implies UTF-8.
    std::string text = "<?xml version=\"1.0\"?><a k=\"Caf\xe9\">Caf\xe9</a>";
    TiXmlDocument document;
    ASSERT_TRUE(LoadFromBuffer(document, text.data()));
    EXPECT_STREQ(document.RootElement()->Attribute("k"), "Caf\xe9");
    EXPECT_STREQ(document.RootElement()->GetText(), "Caf\xe9");
    TiXmlPrinter printer;
    document.Accept(&printer);
    std::string printed = printer.Str();
    TiXmlDocument again;
    EXPECT_TRUE(LoadFromBuffer(again, printed.data())) << printed;
}

TEST(XmlLoadFromBuffer, DocumentsNestedTooDeepAreRefusedBeforeParsing) {
    const auto nested = [](int levels, const std::string& inner, bool closed) {
        std::string text;
        for (int i = 0; i < levels; ++i)
            text += i % 1000 ? "<a>" : "<a k='>'><!-- <b> --><![CDATA[<c>]]><e/>";
        text += inner;
        for (int i = 0; closed && i < levels; ++i)
            text += "</a>";
        return text;
    };
    std::string deepest = nested(xml_nesting::kMostLevels, "x", true);
    TiXmlDocument fits;
    EXPECT_TRUE(LoadFromBuffer(fits, deepest.data())) << "quoted, commented and empty tags open no level";
    for (std::string text : {nested(xml_nesting::kMostLevels + 1, "x", true), nested(100000, "", true),
                             nested(1000000, "", false)}) {
        TiXmlDocument document;
        EXPECT_FALSE(LoadFromBuffer(document, text.data())) << text.size();
        EXPECT_TRUE(document.Error());
        EXPECT_EQ(document.ErrorId(), TiXmlBase::TIXML_ERROR_PARSING_ELEMENT);
        EXPECT_EQ(document.RootElement(), nullptr);
    }
}

} // namespace
