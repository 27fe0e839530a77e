#pragma once

#include <QString>

#include <optional>

struct AppContext;

// The parameters between their fields and the settings store.
class ParameterController
{
public:
    explicit ParameterController(AppContext& ctx);

    // Reads every key into its field, in the start-up order; each assignment runs the field's change handling.
    // Returns a French message when a stored frequency or volume cannot be taken by its scroll bar.
    std::optional<QString> LoadParameters();
    void SaveParameters();    // SAUVE, then back to the exercise view
    void ResetToExamValues(); // R.A.Z.

private:
    AppContext& m_ctx;
};
