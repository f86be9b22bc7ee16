// Anything the preferences window can turn into a pane: a pane itself, or a pane described as a
// value whose content is built from the pane building blocks.
#pragma once

#include <memory>

class PreferencePane;

class PreferencePaneConvertible
{
public:
    virtual ~PreferencePaneConvertible() = default;
    virtual std::shared_ptr<PreferencePane> asPreferencePane() = 0;
};
