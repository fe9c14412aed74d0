#include "host/selection/selection_filter.h"

#include <cmath>
#include <cwctype>
#include <string_view>

#include "host/selection/wildcard.h"

namespace host {

struct SelectionFilter::Node {
    enum Kind { Leaf, And, Or, Xor, Not } kind = And;
    std::wstring op = L"="; // Leaf: the comparison
    Group value;            // Leaf
    std::vector<Node> children;
    std::wstring opener; // the text that opened a grouping, for messages
};

namespace {

using Node = SelectionFilter::Node;

const wchar_t* const kComparisons[] = {L"=", L"!=", L"/=", L"<>", L"<", L"<=",
                                       L">", L">=", L"*",  L"&",  L"&="};

bool isComparison(std::wstring_view op) {
    for (const wchar_t* c : kComparisons)
        if (op == c) return true;
    return false;
}

Group defaultGroup(short code) {
    switch (code) {
    case 62:
        return {62, Adesk::Int16(256)};
    case 6:
        return {6, std::wstring(L"BYLAYER")};
    case 67:
        return {67, Adesk::Int16(0)};
    default:
        return {code, std::monostate()};
    }
}

bool compareNumbers(double a, double b, const std::wstring& op) {
    if (op == L"*") return true;
    if (op == L"=") return a == b;
    if (op == L"!=" || op == L"/=" || op == L"<>") return a != b;
    if (op == L"<") return a < b;
    if (op == L"<=") return a <= b;
    if (op == L">") return a > b;
    if (op == L">=") return a >= b;
    auto ia = static_cast<long long>(a), ib = static_cast<long long>(b);
    if (op == L"&") return (ia & ib) != 0;
    return (ia & ib) == ib; // "&="
}

bool leafMatches(const Node& leaf, const Group& g) {
    const Group& f = leaf.value;
    bool negated = leaf.op == L"!=" || leaf.op == L"/=" || leaf.op == L"<>";
    if (auto* text = std::get_if<std::wstring>(&f.value)) {
        bool same = wildcardMatch(g.text(), *text, true);
        return negated ? !same : (leaf.op == L"*" || same);
    }
    if (auto* p = std::get_if<AcGePoint3d>(&f.value)) {
        bool same = g.point().isEqualTo(*p);
        return negated ? !same : (leaf.op == L"*" || same);
    }
    if (std::holds_alternative<AcDbHandle>(f.value)) return (g.handle() == f.handle()) != negated;
    if (std::holds_alternative<std::monostate>(g.value)) return false;
    return compareNumbers(
        std::holds_alternative<double>(g.value) ? g.real() : static_cast<double>(g.integer()),
        std::holds_alternative<double>(f.value) ? f.real() : static_cast<double>(f.integer()), leaf.op);
}

bool evaluate(const Node& node, const std::vector<Group>& list) {
    switch (node.kind) {
    case Node::Leaf: {
        bool seen = false;
        for (const Group& g : list)
            if (g.code == node.value.code) {
                seen = true;
                if (leafMatches(node, g)) return true;
            }
        return !seen && leafMatches(node, defaultGroup(node.value.code));
    }
    case Node::And:
        for (const Node& c : node.children)
            if (!evaluate(c, list)) return false;
        return true;
    case Node::Or:
        for (const Node& c : node.children)
            if (evaluate(c, list)) return true;
        return false;
    case Node::Xor:
        return evaluate(node.children[0], list) != evaluate(node.children[1], list);
    case Node::Not:
        return !evaluate(node.children[0], list);
    }
    return false;
}

bool knownCode(int code) {
    return code == 0 || acdbGroupCodeToType(code) != AcDb::kDwgNotRecognized;
}

} // namespace

SelectionFilter::SelectionFilter() = default;
SelectionFilter::~SelectionFilter() = default;
SelectionFilter::SelectionFilter(SelectionFilter&&) noexcept = default;
SelectionFilter& SelectionFilter::operator=(SelectionFilter&&) noexcept = default;

bool SelectionFilter::parse(const resbuf* filter, std::wstring& error) {
    std::vector<Node> stack(1); // the outermost grouping: every item must match
    std::wstring comparison = L"=";
    for (const resbuf* rb = filter; rb; rb = rb->rbnext) {
        if (rb->restype == -4) {
            std::wstring op = rb->resval.rstring ? rb->resval.rstring : L"";
            for (wchar_t& c : op)
                c = static_cast<wchar_t>(std::towupper(c));
            static const struct {
                const wchar_t* open;
                const wchar_t* close;
                Node::Kind kind;
            } groupings[] = {{L"<AND", L"AND>", Node::And},
                             {L"<OR", L"OR>", Node::Or},
                             {L"<XOR", L"XOR>", Node::Xor},
                             {L"<NOT", L"NOT>", Node::Not}};
            bool handled = false;
            for (const auto& g : groupings) {
                if (op == g.open) {
                    Node n;
                    n.kind = g.kind;
                    n.opener = op;
                    stack.push_back(std::move(n));
                    handled = true;
                } else if (op == g.close) {
                    if (stack.size() < 2 || stack.back().kind != g.kind) {
                        error = L"\"" + op + L"\" closes no \"" + g.open + L"\"";
                        return false;
                    }
                    Node done = std::move(stack.back());
                    stack.pop_back();
                    std::size_t n = done.children.size();
                    if ((done.kind == Node::Not && n != 1) || (done.kind == Node::Xor && n != 2) || n == 0) {
                        error = L"\"" + done.opener + L"\" holds " + std::to_wstring(n) + L" condition(s)";
                        return false;
                    }
                    stack.back().children.push_back(std::move(done));
                    handled = true;
                }
            }
            if (!handled && isComparison(op)) {
                comparison = op;
                handled = true;
            }
            if (!handled) {
                error = L"the filter operator \"" + op + L"\" is unknown";
                return false;
            }
            continue;
        }
        if (!knownCode(rb->restype)) {
            error = L"the filter group code " + std::to_wstring(rb->restype) + L" is unknown";
            return false;
        }
        Node leaf;
        leaf.kind = Node::Leaf;
        leaf.op = comparison;
        leaf.value = fromResbuf(*rb);
        stack.back().children.push_back(std::move(leaf));
        comparison = L"=";
    }
    if (stack.size() != 1) {
        error = L"\"" + stack.back().opener + L"\" is not closed";
        return false;
    }
    m_root = std::make_unique<Node>(std::move(stack.front()));
    return true;
}

bool SelectionFilter::matches(const std::vector<Group>& entityList) const {
    return !m_root || evaluate(*m_root, entityList);
}

} // namespace host
