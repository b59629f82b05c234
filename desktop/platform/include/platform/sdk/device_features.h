// Further facts about the device that the applications catalogue asks for: which features the
// model has, which firmware switches are set and whether the user navigates by accessibility focus.
// In the simulator they come from the device profile "<root>/.sim/device.cfg" like the facts of
// device.h.
#pragma once

// 1 with a touch panel, 0 without (the same answer as _device_touchpanel).
int device_touchpanel();

// A numbered switch of the device's firmware configuration: nonzero when set. The profile key is
// "config_flag_<n>"; when the profile doesn't name a switch, switch 1 (the cloud services) is set
// and every other one is clear, as on a current model.
int getDeviceConfigFlag(int flag);

// The model's numeric id (profile key "device_id", 0 when absent); device_ID() gives the model's
// name.
int device_model_id();

// 1 while the user moves an accessibility focus over the screen instead of touching it: the screen
// reader of the device state shared by all tasks is on.
int accessibilityFocusEnable();

// The user's text settings, from the global configuration ("/mnt/ext1/system/config/global.cfg"):
// 1 when the dyslexia-friendly font is chosen (key "text_dyslexic_font"), and the text scale in
// percent (key "text_scale", default 100, kept within 50..300). Event-loop thread only.
int pk_text_dyslexic_font_enabled();
int pk_text_scale_percentage();

// The screen's dots per inch and the scale factor the model applies to its layouts (profile key
// "scale_factor", default 1.0).
int get_screen_dpi();
double get_screen_scale_factor();

// 1 when the user chose white text on black (global configuration key "screen_inverted"): pictures
// are then drawn inverted as well. Event-loop thread only.
int IsScreenInverted();
