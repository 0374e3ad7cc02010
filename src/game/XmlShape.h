#pragma once

#include <string>

class TiXmlDocument;

// The shape of the elements that TinyXML would build from a text, measured
// without building them: how deep they nest, how many there are and the most
// attributes one of them carries. The parser recurses once per level of
// nesting, compares every attribute of an element with every other one and
// searches the rest of the text for the ';' of each "&#", so a text past
// these limits is refused before it ever reaches the parser. The walk
// follows the parser's own rules with the parser's own pieces for names,
// attributes, text, comments and declarations, and takes time in proportion
// to the text.
class XmlShape {
public:
    struct Limits {
        int depth;
        int elements;
        int attributes;  // on any one element
    };

    // A character reference must find its ';' within this many bytes.
    static const int referenceReach = 32;

    // Measures the text up to its first zero byte, as the parser reads it,
    // and stops at the first limit it passes or where the parser would stop.
    static XmlShape measure(const char* text, const Limits& limits);
    // The same measures of a document the parser has built.
    static XmlShape of(const TiXmlDocument& document);

    int deepest = 0;
    int elements = 0;
    int mostAttributes = 0;
    // The limit passed, in words that follow the file's name ("nests
    // elements deeper than 16 levels"); empty when none was.
    std::string excess;
};
