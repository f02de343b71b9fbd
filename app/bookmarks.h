// The bookmark lists: food numbers and descriptions kept in pairs in the settings.
#pragma once
