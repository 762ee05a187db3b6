#include "upnp/registration_script.h"

namespace upnp {

namespace {

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c; }

bool SameText(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// %NAME% becomes its replacement and %% a single percent sign.
Hresult Expand(std::u16string_view script, const std::vector<Replacement>& replacements,
               std::u16string* expanded) {
  for (size_t i = 0; i < script.size(); ++i) {
    if (script[i] != u'%') {
      expanded->push_back(script[i]);
      continue;
    }
    const size_t end = script.find(u'%', i + 1);
    if (end == std::u16string_view::npos) return kScriptSyntaxError;
    const std::u16string_view name = script.substr(i + 1, end - i - 1);
    if (name.empty()) {
      expanded->push_back(u'%');
    } else {
      const Replacement* found = nullptr;
      for (const Replacement& replacement : replacements) {
        if (SameText(replacement.name, name)) found = &replacement;
      }
      if (found == nullptr) return kScriptSyntaxError;
      expanded->append(found->value);
    }
    i = end;
  }
  return kSOk;
}

struct Token {
  std::u16string text;
  bool quoted = false;
};

// Tokens are separated by white space; a quoted token runs to its closing single quote,
// with a doubled quote standing for one.
class Tokenizer {
 public:
  explicit Tokenizer(std::u16string_view text) : text_(text) {}

  bool Next(Token* token) {
    while (at_ < text_.size() && IsSpace(text_[at_])) ++at_;
    if (at_ >= text_.size()) return false;
    token->text.clear();
    token->quoted = text_[at_] == u'\'';
    return token->quoted ? ReadQuoted(token) : ReadPlain(token);
  }

  bool Peek(Token* token) {
    const size_t saved = at_;
    const bool read = Next(token);
    at_ = saved;
    return read;
  }

 private:
  bool ReadPlain(Token* token) {
    while (at_ < text_.size() && !IsSpace(text_[at_])) token->text.push_back(text_[at_++]);
    return true;
  }

  bool ReadQuoted(Token* token) {
    ++at_;
    while (at_ < text_.size()) {
      if (text_[at_] == u'\'') {
        if (at_ + 1 < text_.size() && text_[at_ + 1] == u'\'') {
          token->text.push_back(u'\'');
          at_ += 2;
          continue;
        }
        ++at_;
        return true;
      }
      token->text.push_back(text_[at_++]);
    }
    return false;  // unterminated
  }

  std::u16string_view text_;
  size_t at_ = 0;
};

bool IsWord(const Token& token, std::u16string_view word) {
  return !token.quoted && SameText(token.text, word);
}

class Parser {
 public:
  explicit Parser(std::u16string_view text) : tokens_(text) {}

  Hresult ParseRoots(std::vector<ScriptKey>* keys) {
    Token root;
    while (tokens_.Next(&root)) {
      if (!IsWord(root, u"HKCR") && !IsWord(root, u"HKEY_CLASSES_ROOT")) {
        return kScriptSyntaxError;
      }
      if (!Expect(u"{")) return kScriptSyntaxError;
      const Hresult hr = ParseBody(keys, nullptr);
      if (Failed(hr)) return hr;
    }
    return kSOk;
  }

 private:
  bool Expect(std::u16string_view word) {
    Token token;
    return tokens_.Next(&token) && !token.quoted && token.text == word;
  }

  // "= s 'text'"
  bool ParseStringAssignment(std::u16string* value) {
    Token type;
    Token text;
    if (!Expect(u"=") || !tokens_.Next(&type) || !IsWord(type, u"s")) return false;
    if (!tokens_.Next(&text) || !text.quoted) return false;
    *value = text.text;
    return true;
  }

  // Keys (and, inside a key, named values) up to the closing brace.
  Hresult ParseBody(std::vector<ScriptKey>* keys, ScriptKey* owner) {
    // Registry paths end long before this; the limit keeps the recursion bounded.
    if (++depth_ > kMaxDepth) return kScriptSyntaxError;
    const Hresult hr = ParseEntries(keys, owner);
    --depth_;
    return hr;
  }

  Hresult ParseEntries(std::vector<ScriptKey>* keys, ScriptKey* owner) {
    Token token;
    while (tokens_.Next(&token)) {
      if (IsWord(token, u"}")) return kSOk;
      if (owner != nullptr && IsWord(token, u"val")) {
        Token name;
        std::u16string value;
        if (!tokens_.Next(&name) || !ParseStringAssignment(&value)) return kScriptSyntaxError;
        owner->values.emplace_back(name.text, value);
        continue;
      }
      const Hresult hr = ParseKey(token, keys);
      if (Failed(hr)) return hr;
    }
    return kScriptSyntaxError;  // no closing brace
  }

  Hresult ParseKey(Token token, std::vector<ScriptKey>* keys) {
    ScriptKey key;
    for (;;) {
      if (IsWord(token, u"NoRemove")) {
        key.no_remove = true;
      } else if (IsWord(token, u"ForceRemove")) {
        key.force_remove = true;
      } else {
        break;
      }
      if (!tokens_.Next(&token)) return kScriptSyntaxError;
    }
    if (token.text.empty() || IsWord(token, u"{") || IsWord(token, u"=")) {
      return kScriptSyntaxError;
    }
    key.name = token.text;
    Token next;
    if (tokens_.Peek(&next) && IsWord(next, u"=")) {
      std::u16string value;
      if (!ParseStringAssignment(&value)) return kScriptSyntaxError;
      key.default_value = value;
    }
    if (tokens_.Peek(&next) && IsWord(next, u"{")) {
      tokens_.Next(&next);
      const Hresult hr = ParseBody(&key.subkeys, &key);
      if (Failed(hr)) return hr;
    }
    keys->push_back(std::move(key));
    return kSOk;
  }

  static constexpr int kMaxDepth = 64;
  Tokenizer tokens_;
  int depth_ = 0;
};

std::u16string Child(std::u16string_view parent, std::u16string_view name) {
  if (parent.empty()) return std::u16string(name);
  return std::u16string(parent) + u"\\" + std::u16string(name);
}

Hresult RegisterKey(const ScriptKey& key, std::u16string_view parent, ScriptRegistry& registry) {
  const std::u16string path = Child(parent, key.name);
  if (key.force_remove) {
    const Hresult hr = DeleteKeyTree(path, registry);
    if (Failed(hr)) return hr;
  }
  Hresult hr = registry.CreateKey(path);
  if (Failed(hr)) return hr;
  if (key.default_value) {
    hr = registry.SetString(path, u"", *key.default_value);
    if (Failed(hr)) return hr;
  }
  for (const auto& [name, value] : key.values) {
    hr = registry.SetString(path, name, value);
    if (Failed(hr)) return hr;
  }
  for (const ScriptKey& subkey : key.subkeys) {
    hr = RegisterKey(subkey, path, registry);
    if (Failed(hr)) return hr;
  }
  return kSOk;
}

Hresult UnregisterKey(const ScriptKey& key, std::u16string_view parent, ScriptRegistry& registry) {
  const std::u16string path = Child(parent, key.name);
  if (key.force_remove) return DeleteKeyTree(path, registry);
  for (const ScriptKey& subkey : key.subkeys) {
    const Hresult hr = UnregisterKey(subkey, path, registry);
    if (Failed(hr)) return hr;
  }
  if (key.no_remove) return kSOk;
  std::vector<std::u16string> left;
  const Hresult hr = registry.SubKeys(path, &left);
  if (hr == kRegistryKeyNotFound) return kSOk;
  if (Failed(hr)) return hr;
  // A subkey that someone else added keeps the key.
  if (!left.empty()) return kSOk;
  return registry.DeleteKey(path);
}

}  // namespace

Hresult ParseRegistrationScript(std::u16string_view script,
                                const std::vector<Replacement>& replacements,
                                std::vector<ScriptKey>* keys) {
  std::u16string expanded;
  const Hresult hr = Expand(script, replacements, &expanded);
  if (Failed(hr)) return hr;
  return Parser(expanded).ParseRoots(keys);
}

Hresult RegisterKeys(const std::vector<ScriptKey>& keys, ScriptRegistry& registry) {
  for (const ScriptKey& key : keys) {
    const Hresult hr = RegisterKey(key, u"", registry);
    if (Failed(hr)) return hr;
  }
  return kSOk;
}

Hresult UnregisterKeys(const std::vector<ScriptKey>& keys, ScriptRegistry& registry) {
  Hresult first = kSOk;
  for (const ScriptKey& key : keys) {
    const Hresult hr = UnregisterKey(key, u"", registry);
    if (Failed(hr) && !Failed(first)) first = hr;
  }
  return first;
}

Hresult DeleteKeyTree(std::u16string_view path, ScriptRegistry& registry) {
  std::vector<std::u16string> subkeys;
  Hresult hr = registry.SubKeys(path, &subkeys);
  if (hr == kRegistryKeyNotFound) return kSOk;
  if (Failed(hr)) return hr;
  for (const std::u16string& subkey : subkeys) {
    hr = DeleteKeyTree(Child(path, subkey), registry);
    if (Failed(hr)) return hr;
  }
  hr = registry.DeleteKey(path);
  return hr == kRegistryKeyNotFound ? kSOk : hr;
}

}  // namespace upnp
