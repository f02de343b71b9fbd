// Placeholder until the catalogue lands.
