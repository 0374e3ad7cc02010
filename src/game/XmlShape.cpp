#include "game/XmlShape.h"

#include <algorithm>
#include <cstring>
#include <tinyxml.h>
#include <utility>
#include <vector>

namespace {

// The parser's own lexical pieces, which it keeps to itself.
class Lexer : public TiXmlBase {
public:
    using TiXmlBase::IsAlpha;
    using TiXmlBase::ReadName;
    using TiXmlBase::SkipWhiteSpace;
    using TiXmlBase::StringEqual;
};

enum class Node { None, Declaration, Comment, CData, Unknown, Element };

// What the parser makes of the markup at p, by the same tests in the same order.
Node identify(const char* p, TiXmlEncoding encoding)
{
    p = Lexer::SkipWhiteSpace(p, encoding);
    if (!p || *p != '<')
        return Node::None;
    if (Lexer::StringEqual(p, "<?xml", true, encoding))
        return Node::Declaration;
    if (Lexer::StringEqual(p, "<!--", false, encoding))
        return Node::Comment;
    if (Lexer::StringEqual(p, "<![CDATA[", false, encoding))
        return Node::CData;
    if (Lexer::StringEqual(p, "<!", false, encoding))
        return Node::Unknown;
    if (Lexer::IsAlpha(static_cast<unsigned char>(p[1]), encoding) || p[1] == '_')
        return Node::Element;
    return Node::Unknown;
}

// Parses one node that holds no elements and answers where the parser goes
// on, or null where it gives up. A declaration may settle the encoding.
const char* parseLeaf(Node kind, const char* p, TiXmlEncoding& encoding, bool settlesEncoding)
{
    switch (kind) {
    case Node::Declaration: {
        TiXmlDeclaration declaration;
        p = declaration.Parse(p, nullptr, encoding);
        if (settlesEncoding) {
            const char* name = declaration.Encoding();
            const bool utf8 = *name == 0 || Lexer::StringEqual(name, "UTF-8", true, TIXML_ENCODING_UNKNOWN) ||
                              Lexer::StringEqual(name, "UTF8", true, TIXML_ENCODING_UNKNOWN);
            encoding = utf8 ? TIXML_ENCODING_UTF8 : TIXML_ENCODING_LEGACY;
        }
        return p;
    }
    case Node::Comment: {
        TiXmlComment comment;
        return comment.Parse(p, nullptr, encoding);
    }
    case Node::CData: {
        TiXmlText text("");
        text.SetCDATA(true);
        return text.Parse(p, nullptr, encoding);
    }
    default: {
        TiXmlUnknown unknown;
        return unknown.Parse(p, nullptr, encoding);
    }
    }
}

// A "&#" whose ';' lies further than the reach makes the parser search the
// rest of the text for it, once for every such "&#".
bool referencesEnd(const char* text)
{
    for (const char* p = std::strstr(text, "&#"); p; p = std::strstr(p + 2, "&#")) {
        const char* end = p + 2;
        for (int step = 0; *end && *end != ';' && step < XmlShape::referenceReach; ++step)
            ++end;
        if (*end != ';')
            return false;
    }
    return true;
}

class Walk {
public:
    Walk(XmlShape& shape, const XmlShape::Limits& limits) : shape(shape), limits(limits) {}

    void run(const char* p)
    {
        if (!p || !*p)
            return;
        // A byte order mark settles the encoding before anything is read.
        const unsigned char* u = reinterpret_cast<const unsigned char*>(p);
        if (u[0] == 0xefu && u[1] == 0xbbu && u[2] == 0xbfu)
            encoding = TIXML_ENCODING_UTF8;
        p = Lexer::SkipWhiteSpace(p, encoding);
        while (p && *p && shape.excess.empty()) {
            const Node kind = identify(p, encoding);
            if (kind == Node::None)
                break;
            if (kind == Node::Element)
                p = element(p);
            else
                p = parseLeaf(kind, p, encoding, encoding == TIXML_ENCODING_UNKNOWN);
            p = Lexer::SkipWhiteSpace(p, encoding);
        }
    }

private:
    // One element and everything in it, as the parser's recursion would
    // take it, with a stack of the end tags still awaited instead.
    const char* element(const char* p)
    {
        const std::size_t bottom = endTags.size();
        p = startTag(p);
        while (p && endTags.size() > bottom && shape.excess.empty())
            p = content(p);
        return shape.excess.empty() ? p : nullptr;
    }

    // The start tag at p: pushes its end tag when content follows; null
    // where the parser gives up.
    const char* startTag(const char* p)
    {
        // The parser keeps an element it has begun even when its tag turns
        // out broken, so it counts from here.
        if (++shape.elements > limits.elements) {
            shape.excess = "holds more than " + std::to_string(limits.elements) + " elements";
            return nullptr;
        }
        const int depth = static_cast<int>(endTags.size()) + 1;
        shape.deepest = std::max(shape.deepest, depth);
        if (depth > limits.depth) {
            shape.excess = "nests elements deeper than " + std::to_string(limits.depth) + " levels";
            return nullptr;
        }
        p = Lexer::SkipWhiteSpace(p, encoding);
        if (!p || *p != '<')
            return nullptr;
        p = Lexer::SkipWhiteSpace(p + 1, encoding);
        if (!p)
            return nullptr;
        std::string name;
        p = Lexer::ReadName(p, &name, encoding);
        if (!p || !*p)
            return nullptr;
        int attributes = 0;
        for (;;) {
            p = Lexer::SkipWhiteSpace(p, encoding);
            if (!p || !*p)
                return nullptr;
            if (*p == '/')
                return p[1] == '>' ? p + 2 : nullptr;
            if (*p == '>') {
                endTags.push_back("</" + name);
                return p + 1;
            }
            TiXmlAttribute attribute;
            p = attribute.Parse(p, nullptr, encoding);
            if (!p || !*p)
                return nullptr;
            shape.mostAttributes = std::max(shape.mostAttributes, ++attributes);
            if (attributes > limits.attributes) {
                shape.excess = "has an element with more than " + std::to_string(limits.attributes) +
                               " attributes";
                return nullptr;
            }
        }
    }

    // One node of the innermost open element's content, or its end tag.
    const char* content(const char* p)
    {
        const char* withWhiteSpace = p;
        p = Lexer::SkipWhiteSpace(p, encoding);
        if (!p || !*p)
            return nullptr;  // the end tag never came
        if (*p != '<') {
            TiXmlText text("");
            return text.Parse(TiXmlBase::IsWhiteSpaceCondensed() ? p : withWhiteSpace, nullptr, encoding);
        }
        if (Lexer::StringEqual(p, "</", false, encoding)) {
            const std::string& endTag = endTags.back();
            if (!Lexer::StringEqual(p, endTag.c_str(), false, encoding))
                return nullptr;
            p = Lexer::SkipWhiteSpace(p + endTag.size(), encoding);
            if (!p || *p != '>')
                return nullptr;
            endTags.pop_back();
            return p + 1;
        }
        const Node kind = identify(p, encoding);
        if (kind == Node::Element)
            return startTag(p);
        return parseLeaf(kind, p, encoding, false);
    }

    XmlShape& shape;
    const XmlShape::Limits& limits;
    TiXmlEncoding encoding = TIXML_ENCODING_UNKNOWN;
    std::vector<std::string> endTags;
};

}  // namespace

XmlShape XmlShape::measure(const char* text, const Limits& limits)
{
    XmlShape shape;
    if (!referencesEnd(text)) {
        shape.excess = "holds a character reference (\"&#\") without its ';'";
        return shape;
    }
    Walk(shape, limits).run(text);
    return shape;
}

XmlShape XmlShape::of(const TiXmlDocument& document)
{
    XmlShape shape;
    // Without recursion, whatever the depth.
    std::vector<std::pair<const TiXmlElement*, int>> pending;
    for (const TiXmlElement* e = document.FirstChildElement(); e; e = e->NextSiblingElement())
        pending.emplace_back(e, 1);
    while (!pending.empty()) {
        const auto [element, depth] = pending.back();
        pending.pop_back();
        ++shape.elements;
        shape.deepest = std::max(shape.deepest, depth);
        int attributes = 0;
        for (const TiXmlAttribute* a = element->FirstAttribute(); a; a = a->Next())
            ++attributes;
        shape.mostAttributes = std::max(shape.mostAttributes, attributes);
        for (const TiXmlElement* e = element->FirstChildElement(); e; e = e->NextSiblingElement())
            pending.emplace_back(e, depth + 1);
    }
    return shape;
}
