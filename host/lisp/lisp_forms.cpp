#include "host/lisp/lisp_forms.h"

#include "host/filing/text_codec.h"
#include "host/lisp/lisp_args.h"
#include "host/lisp/lisp_eval.h"
#include "host/lisp/lisp_symbols.h"
#include "host/lisp/lisp_text.h"

namespace host {

namespace {

using Form = std::span<const LispValue>;

void needArguments(const Form& form, std::size_t least) {
    if (form.size() < least + 1) throw LispError("nombre d'arguments insuffisants");
}

void needAtMost(const Form& form, std::size_t most) {
    if (form.size() > most + 1) throw LispError("trop d'arguments");
}

const std::wstring& symbolName(const LispValue& v) {
    if (v.kind != LispValue::Symbol || v.text.empty()) badArgument("symbolp", v);
    return v.text;
}

// (a b / c d): the arguments before "/", the locals after it.
LispValue functionOf(std::wstring name, const LispValue& parameters, const Form& form, std::size_t body) {
    std::vector<LispValue> arguments, locals;
    bool afterSlash = false;
    for (const LispValue& p : listArgument(parameters)) {
        if (p.kind == LispValue::Symbol && p.text == L"/") {
            if (afterSlash) badArgument("symbolp", p);
            afterSlash = true;
            continue;
        }
        symbolName(p);
        (afterSlash ? locals : arguments).push_back(p);
    }
    if (parameters.dotted) badArgument("listp", parameters);
    std::vector<LispValue> items{LispValue::list(std::move(arguments)), LispValue::list(std::move(locals))};
    items.insert(items.end(), form.begin() + static_cast<std::ptrdiff_t>(body), form.end());
    LispValue function = LispValue::list(std::move(items));
    function.kind = LispValue::Function;
    function.text = std::move(name);
    return function;
}

LispValue quoteForm(Form form) {
    needArguments(form, 1);
    needAtMost(form, 1);
    return form[1];
}

// (FUNCTION (LAMBDA ...)) gives the function, (FUNCTION NAME) the name, as QUOTE would.
LispValue functionForm(Form form) {
    needArguments(form, 1);
    needAtMost(form, 1);
    return form[1].kind == LispValue::List ? evaluateLisp(form[1]) : form[1];
}

LispValue setqForm(Form form) {
    if (form.size() < 3 || form.size() % 2 == 0) throw LispError("nombre d'arguments insuffisants");
    LispValue value;
    for (std::size_t i = 1; i < form.size(); i += 2) {
        symbolName(form[i]);
        value = evaluateLisp(form[i + 1]);
        bindSlot(slotOf(form[i]), value);
    }
    return value;
}

LispValue defunForm(Form form) {
    needArguments(form, 2);
    const std::wstring& name = symbolName(form[1]);
    setLispSymbol(name, functionOf(name, form[2], form, 3));
    return form[1];
}

LispValue lambdaForm(Form form) {
    needArguments(form, 1);
    return functionOf(L"", form[1], form, 2);
}

LispValue prognForm(Form form) {
    return evaluateForms(form, 1);
}

LispValue ifForm(Form form) {
    needArguments(form, 2);
    needAtMost(form, 3);
    if (!evaluateLisp(form[1]).isNil()) return evaluateLisp(form[2]);
    return form.size() > 3 ? evaluateLisp(form[3]) : LispValue::nil();
}

// Each clause (test body...): the first whose test holds gives its body's value, or the test's without one.
LispValue condForm(Form form) {
    for (std::size_t i = 1; i < form.size(); ++i) {
        const LispItems& clause = listArgument(form[i]);
        if (clause.empty()) continue;
        LispValue test = evaluateLisp(clause[0]);
        if (!test.isNil()) return clause.size() > 1 ? evaluateForms(clause, 1) : test;
    }
    return LispValue::nil();
}

LispValue whileForm(Form form) {
    needArguments(form, 1);
    LispValue value;
    while (!evaluateLisp(form[1]).isNil())
        value = evaluateForms(form, 2);
    return value;
}

LispValue repeatForm(Form form) {
    needArguments(form, 1);
    LispValue count = evaluateLisp(form[1]);
    LispValue value;
    for (int i = integerArgument(count); i > 0; --i)
        value = evaluateForms(form, 2);
    return value;
}

// (FOREACH name list body...): the name is bound to each item in turn and given back its value after.
LispValue foreachForm(Form form) {
    needArguments(form, 2);
    symbolName(form[1]);
    LispValue list = evaluateLisp(form[2]);
    const LispItems& items = listArgument(list);
    LispSymbolSlot& slot = slotOf(form[1]);
    struct Restore {
        LispSymbolSlot& slot;
        LispValue saved;
        ~Restore() { bindSlot(slot, std::move(saved)); }
    } restore{slot, slot.bound ? slot.value : LispValue::nil()};
    LispValue value;
    for (const LispValue& item : items) {
        bindSlot(slot, item);
        value = evaluateForms(form, 3);
    }
    return value;
}

LispValue andForm(Form form) {
    for (std::size_t i = 1; i < form.size(); ++i)
        if (evaluateLisp(form[i]).isNil()) return LispValue::nil();
    return LispValue::t();
}

LispValue orForm(Form form) {
    for (std::size_t i = 1; i < form.size(); ++i)
        if (!evaluateLisp(form[i]).isNil()) return LispValue::t();
    return LispValue::nil();
}

// The symbols' values while a function runs, given back when it ends (by an error too).
class Bindings {
public:
    void bind(LispSymbolSlot& slot, LispValue value) {
        m_saved.emplace_back(&slot, slot.bound ? slot.value : LispValue::nil());
        bindSlot(slot, std::move(value));
    }
    ~Bindings() {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
            bindSlot(*it->first, std::move(it->second));
    }

private:
    std::vector<std::pair<LispSymbolSlot*, LispValue>> m_saved;
};

} // namespace

const std::map<std::wstring, LispSpecialForm>& specialForms() {
    static const std::map<std::wstring, LispSpecialForm> table = {
        {L"AND", andForm},           {L"COND", condForm},
        {L"DEFUN", defunForm},       {L"FOREACH", foreachForm},
        {L"FUNCTION", functionForm}, {L"IF", ifForm},
        {L"LAMBDA", lambdaForm},     {L"OR", orForm},
        {L"PROGN", prognForm},       {L"QUOTE", quoteForm},
        {L"REPEAT", repeatForm},     {L"SETQ", setqForm},
        {L"WHILE", whileForm},
    };
    return table;
}

LispValue callDefinedFunction(const LispValue& function, const std::vector<LispValue>& args) {
    const LispItems& arguments = function.items[0].items;
    if (args.size() < arguments.size()) throw LispError("nombre d'arguments insuffisants");
    if (args.size() > arguments.size()) throw LispError("trop d'arguments");
    Bindings bindings;
    for (std::size_t i = 0; i < arguments.size(); ++i)
        bindings.bind(slotOf(arguments[i]), args[i]);
    for (const LispValue& local : function.items[1].items)
        bindings.bind(slotOf(local), LispValue::nil());
    try {
        return evaluateForms(function.items, 2);
    } catch (const LispError& error) {
        raiseFromFunction(error);
    }
}

} // namespace host
