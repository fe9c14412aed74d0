#include "host/lisp/lisp_functions.h"

#include <cwctype>
#include <map>

#include "host/filing/text_codec.h"
#include "host/rx/module_loader.h"

namespace host {

struct ModuleFunction {
    Module* module;
    int code;
};

namespace {

std::map<std::wstring, ModuleFunction>& definitions() {
    static std::map<std::wstring, ModuleFunction> table;
    return table;
}

unsigned g_definitionsVersion = 1;

// Every change to the table goes through here, so that names the evaluator resolved are looked up again.
std::map<std::wstring, ModuleFunction>& changedDefinitions() {
    ++g_definitionsVersion;
    return definitions();
}

// Help of functions and commands, by name.
std::map<std::wstring, std::wstring>& helpTopics() {
    static std::map<std::wstring, std::wstring> table;
    return table;
}

// The call being answered: innermost last (a function may call others through acedInvoke).
struct Frame {
    int code;
    resbuf* args;
    LispValue value; // as set by the acedRet functions: kept as a value, not converted back and forth
    bool resultSet = false;
};

std::vector<Frame>& frames() {
    static std::vector<Frame> stack;
    return stack;
}

std::wstring key(const ACHAR* name) {
    std::wstring k = name ? name : L"";
    for (wchar_t& c : k)
        c = static_cast<wchar_t>(std::towupper(c));
    return k;
}

// Never throws: it answers modules.
int setValue(LispValue v) {
    if (frames().empty()) return RTERROR;
    Frame& f = frames().back();
    f.value = std::move(v);
    f.resultSet = true;
    return RTNORM;
}

} // namespace

bool isLispFunctionDefined(const std::wstring& name) {
    return definitions().contains(key(name.c_str()));
}

unsigned lispFunctionsVersion() {
    return g_definitionsVersion;
}

const ModuleFunction* findLispFunction(const std::wstring& upperName) {
    auto it = definitions().find(upperName);
    return it == definitions().end() ? nullptr : &it->second;
}

LispValue callLispFunction(const ModuleFunction& function, const std::wstring& upperName,
                           const std::vector<LispValue>& args) {
    const ModuleFunction d = function; // the module may undefine it while it runs
    frames().push_back({d.code, toResbufs(args, GroupMismatch::PassedAsList), LispValue::nil()});
    struct Pop {
        ~Pop() {
            acutRelRb(frames().back().args);
            frames().pop_back();
        }
    } pop;
    AcRx::AppRetCode rc = sendToModule(d.module, AcRx::kInvkSubrMsg);
    if (rc == AcRx::kRetError) throw LispError(toUtf8(upperName) + " a échoué");
    const Frame& f = frames().back();
    return f.resultSet ? std::move(frames().back().value) : LispValue::nil();
}

LispValue callLispFunction(const std::wstring& name, const std::vector<LispValue>& args) {
    const std::wstring k = key(name.c_str());
    const ModuleFunction* function = findLispFunction(k);
    if (!function) throw LispError("fonction inconnue: " + toUtf8(k));
    return callLispFunction(*function, k, args);
}

LispValue answerCall(int code, resbuf* args, const std::function<void()>& answer) {
    frames().push_back({code, args, LispValue::nil()});
    struct Pop {
        ~Pop() { frames().pop_back(); }
    } pop;
    answer();
    const Frame& f = frames().back();
    return f.resultSet ? std::move(frames().back().value) : LispValue::nil();
}

std::wstring functionHelp(const std::wstring& name) {
    auto it = helpTopics().find(key(name.c_str()));
    return it == helpTopics().end() ? L"" : it->second;
}

std::vector<std::wstring> definedFunctions() {
    std::vector<std::wstring> out;
    for (const auto& [name, d] : definitions())
        out.push_back(name);
    return out;
}

void undefineFunctionsOf(const Module* module) {
    std::erase_if(changedDefinitions(), [module](const auto& e) { return e.second.module == module; });
}

void resetLispFunctions() {
    changedDefinitions().clear();
    helpTopics().clear();
}

} // namespace host

using namespace host;

int acedDefun(const ACHAR* name, int funcode) {
    Module* module = currentModule();
    std::wstring k = key(name);
    if (!module || k.empty()) return RTERROR;
    auto it = definitions().find(k);
    if (it != definitions().end() && it->second.module != module) return RTERROR;
    changedDefinitions()[k] = {module, funcode};
    return RTNORM;
}

int acedUndef(const ACHAR* name, int funcode) {
    auto it = definitions().find(key(name));
    if (it == definitions().end() || it->second.code != funcode) return RTERROR;
    changedDefinitions().erase(it);
    return RTNORM;
}

int acedGetFunCode() {
    return frames().empty() ? RTERROR : frames().back().code;
}

resbuf* acedGetArgs() {
    return frames().empty() ? nullptr : frames().back().args;
}

int acedRetList(const resbuf* list) {
    return setValue(valueOfChain(list));
}

int acedRetVal(const resbuf* value) {
    std::vector<LispValue> values = fromResbufs(value);
    return setValue(values.empty() ? LispValue::nil() : values.front());
}

int acedRetName(const ads_name name, int type) {
    if (!name || (type != RTENAME && type != RTPICKS)) return RTERROR;
    return setValue(LispValue::fromName(name, type == RTENAME ? LispValue::EntityName : LispValue::PickSet));
}

int acedRetInt(int value) {
    return setValue(LispValue::fromInteger(value));
}

int acedRetReal(ads_real value) {
    return setValue(LispValue::fromReal(value));
}

int acedRetPoint(const ads_point point) {
    if (!point) return RTERROR;
    return setValue(LispValue::list(
        {LispValue::fromReal(point[0]), LispValue::fromReal(point[1]), LispValue::fromReal(point[2])}));
}

int acedRetStr(const ACHAR* text) {
    return setValue(LispValue::fromString(text ? text : L""));
}

int acedRetNil() {
    return setValue(LispValue::nil());
}

int acedRetT() {
    return setValue(LispValue::t());
}

int acedRetVoid() {
    return setValue(LispValue::nil());
}

int acedInvoke(const resbuf* args, resbuf** result) {
    if (result) *result = nullptr;
    if (!args || args->restype != RTSTR || !args->resval.rstring) return RTERROR;
    try {
        LispValue value = callLispFunction(args->resval.rstring, fromResbufs(args->rbnext));
        if (result) *result = toResbufs({value}, GroupMismatch::PassedAsList);
        return RTNORM;
    } catch (const LispError&) {
        return RTERROR;
    }
}

int acedSetFunHelp(const ACHAR* name, const ACHAR* helpFile, const ACHAR* topic, int) {
    std::wstring k = key(name);
    if (k.empty()) return RTERROR;
    helpTopics()[k] = std::wstring(helpFile ? helpFile : L"") + L"|" + (topic ? topic : L"");
    return RTNORM;
}
