#include "upnp/core/registration_script.h"

#include <memory>

#include "platform/ascii_case.h"
#include "platform/registry_tree.h"
#include "platform/registry_values.h"

namespace upnp {

namespace {

using platform::EqualsIgnoringCase;
using platform::RegistryKey;
using platform::RootKey;
using platform::WinError;

constexpr auto kView = platform::RegistryView::kDefault;

// HRESULT_FROM_WIN32.
platform::HResult FromWin32(WinError error) {
  return error == platform::kErrorSuccess
             ? platform::kSOk
             : static_cast<platform::HResult>(0x80070000u | (error & 0xFFFFu));
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// %NAME% becomes its replacement and %% a single percent sign.
platform::HResult Expand(std::u16string_view script, const std::vector<Replacement>& replacements,
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
        if (EqualsIgnoringCase(replacement.name, name)) found = &replacement;
      }
      if (found == nullptr) return kScriptSyntaxError;
      expanded->append(found->value);
    }
    i = end;
  }
  return platform::kSOk;
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
  return !token.quoted && EqualsIgnoringCase(token.text, word);
}

class Parser {
 public:
  explicit Parser(std::u16string_view text) : tokens_(text) {}

  platform::HResult ParseRoots(std::vector<ScriptKey>* keys) {
    Token root;
    while (tokens_.Next(&root)) {
      if (!IsWord(root, u"HKCR") && !IsWord(root, u"HKEY_CLASSES_ROOT")) {
        return kScriptSyntaxError;
      }
      if (!Expect(u"{")) return kScriptSyntaxError;
      const platform::HResult hr = ParseBody(keys, nullptr);
      if (platform::Failed(hr)) return hr;
    }
    return platform::kSOk;
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
  platform::HResult ParseBody(std::vector<ScriptKey>* keys, ScriptKey* owner) {
    // Registry paths end long before this; the limit keeps the recursion bounded.
    if (++depth_ > kMaxDepth) return kScriptSyntaxError;
    const platform::HResult hr = ParseEntries(keys, owner);
    --depth_;
    return hr;
  }

  platform::HResult ParseEntries(std::vector<ScriptKey>* keys, ScriptKey* owner) {
    Token token;
    while (tokens_.Next(&token)) {
      if (IsWord(token, u"}")) return platform::kSOk;
      if (owner != nullptr && IsWord(token, u"val")) {
        Token name;
        std::u16string value;
        if (!tokens_.Next(&name) || !ParseStringAssignment(&value)) return kScriptSyntaxError;
        owner->values.emplace_back(name.text, value);
        continue;
      }
      const platform::HResult hr = ParseKey(token, keys);
      if (platform::Failed(hr)) return hr;
    }
    return kScriptSyntaxError;  // no closing brace
  }

  platform::HResult ParseKey(Token token, std::vector<ScriptKey>* keys) {
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
      const platform::HResult hr = ParseBody(&key.subkeys, &key);
      if (platform::Failed(hr)) return hr;
    }
    keys->push_back(std::move(key));
    return platform::kSOk;
  }

  static constexpr int kMaxDepth = 64;
  Tokenizer tokens_;
  int depth_ = 0;
};

std::u16string Child(std::u16string_view parent, std::u16string_view name) {
  if (parent.empty()) return std::u16string(name);
  return std::u16string(parent) + u"\\" + std::u16string(name);
}

platform::HResult DeleteTree(std::u16string_view path, platform::Registry& registry) {
  return FromWin32(platform::DeleteKeyTree(registry, RootKey::kClassesRoot, path, kView));
}

platform::HResult RegisterKey(const ScriptKey& key, std::u16string_view parent,
                              platform::Registry& registry) {
  const std::u16string path = Child(parent, key.name);
  if (key.force_remove) {
    const platform::HResult hr = DeleteTree(path, registry);
    if (platform::Failed(hr)) return hr;
  }
  std::unique_ptr<RegistryKey> created;
  platform::HResult hr = FromWin32(registry.CreateKey(RootKey::kClassesRoot, path,
                                                      platform::kKeyRead | platform::kKeyWrite,
                                                      kView, &created, nullptr));
  if (platform::Failed(hr)) return hr;
  if (key.default_value) {
    hr = FromWin32(platform::SetStringValue(*created, u"", *key.default_value));
    if (platform::Failed(hr)) return hr;
  }
  for (const auto& [name, value] : key.values) {
    hr = FromWin32(platform::SetStringValue(*created, name, value));
    if (platform::Failed(hr)) return hr;
  }
  created.reset();
  for (const ScriptKey& subkey : key.subkeys) {
    hr = RegisterKey(subkey, path, registry);
    if (platform::Failed(hr)) return hr;
  }
  return platform::kSOk;
}

platform::HResult UnregisterKey(const ScriptKey& key, std::u16string_view parent,
                                platform::Registry& registry) {
  const std::u16string path = Child(parent, key.name);
  if (key.force_remove) return DeleteTree(path, registry);
  for (const ScriptKey& subkey : key.subkeys) {
    const platform::HResult hr = UnregisterKey(subkey, path, registry);
    if (platform::Failed(hr)) return hr;
  }
  if (key.no_remove) return platform::kSOk;
  std::unique_ptr<RegistryKey> opened;
  const WinError error =
      registry.OpenKey(RootKey::kClassesRoot, path, platform::kKeyRead, kView, &opened);
  if (error == platform::kErrorFileNotFound) return platform::kSOk;
  if (error != platform::kErrorSuccess) return FromWin32(error);
  // A subkey that someone else added keeps the key.
  std::u16string first;
  const WinError listed = opened->EnumSubKey(0, &first);
  opened.reset();
  if (listed == platform::kErrorSuccess) return platform::kSOk;
  if (listed != platform::kErrorNoMoreItems) return FromWin32(listed);
  return FromWin32(registry.DeleteKey(RootKey::kClassesRoot, path, kView));
}

}  // namespace

platform::HResult ParseRegistrationScript(std::u16string_view script,
                                          const std::vector<Replacement>& replacements,
                                          std::vector<ScriptKey>* keys) {
  std::u16string expanded;
  const platform::HResult hr = Expand(script, replacements, &expanded);
  if (platform::Failed(hr)) return hr;
  return Parser(expanded).ParseRoots(keys);
}

platform::HResult RegisterKeys(const std::vector<ScriptKey>& keys, platform::Registry& registry) {
  for (const ScriptKey& key : keys) {
    const platform::HResult hr = RegisterKey(key, u"", registry);
    if (platform::Failed(hr)) return hr;
  }
  return platform::kSOk;
}

platform::HResult UnregisterKeys(const std::vector<ScriptKey>& keys, platform::Registry& registry) {
  platform::HResult first = platform::kSOk;
  for (const ScriptKey& key : keys) {
    const platform::HResult hr = UnregisterKey(key, u"", registry);
    if (platform::Failed(hr) && !platform::Failed(first)) first = hr;
  }
  return first;
}

}  // namespace upnp
