#pragma once

// Tells assistive technology what the toolkit layer's own kinds of control are: a form is a window
// named after its title, a clickable label is a link whose press action clicks it. Call once, after
// the application object exists.
void InstallAccessibleInterfaces();
