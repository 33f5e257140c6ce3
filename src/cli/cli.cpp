namespace zel::cli {}
